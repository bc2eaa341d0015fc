#pragma once

class QApplication;
class QString;

// What the program does at start before its main window opens.
namespace app {

// Qt's own texts (standard buttons, the file dialog, context menus) in Russian, the language of
// the interface, whatever the system locale. Returns false when Qt's Russian translation is not
// installed; the program then goes on with Qt's English texts.
bool installQtTranslation(QApplication& application);

// The program's icon for every window, and the name of its desktop entry.
void setProgramIcon(QApplication& application);

// Whether the working directory holds the data folder (in any letter case). When it does not,
// the user is told in a message box where the program was started, what it looked for and how
// to start it properly, and false is returned: the program then ends.
bool checkDataFolder();

// The text of that message for a program started in `workingDir` from `programDir`.
QString missingDataFolderText(const QString& workingDir, const QString& programDir);

} // namespace app
