#pragma once

class QKeyEvent;

namespace collect {

// The answer a key stands for, so that answers can be given from the keyboard: 1 to 3 for the
// digits 1 to 3, the letters a, b, c and а, б, в in either case, and ф, и, с, which the a, b
// and c keys give on a Russian layout; 0 for any other key or with Ctrl, Alt or Meta held.
int answerOfKey(const QKeyEvent& event);

} // namespace collect
