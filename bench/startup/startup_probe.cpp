// A Qt plugin loaded into a program at its start (QT_QPA_GENERIC_PLUGINS=dorvelstartupprobe,
// its folder in QT_PLUGIN_PATH): when the first window has been painted it prints the moment
// (steady clock, nanoseconds), the process's resident and peak memory in kB, and ends the
// process at once. It lets the start-up benchmark time the installed program itself, unchanged,
// and a bare Qt window the same way.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGenericPlugin>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// VmRSS and VmHWM of /proc/self/status, in kB.
QByteArray memoryFields() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return "0 0";
    QByteArray rss = "0", peak = "0";
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            rss = line.mid(6).trimmed().split(' ').constFirst();
        else if (line.startsWith("VmHWM:"))
            peak = line.mid(6).trimmed().split(' ').constFirst();
    }
    return rss + ' ' + peak;
}

class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_seen || event->type() != QEvent::Paint || !watched->isWidgetType() ||
            !static_cast<QWidget*>(watched)->isWindow())
            return false;
        m_seen = true;
        // Reported once the paint and the flush to the window are done: the next turn of the
        // event loop.
        QTimer::singleShot(0, [] {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::printf("%lld %s\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                        memoryFields().constData());
            std::fflush(stdout);
            std::_Exit(0);
        });
        return false;
    }

private:
    bool m_seen = false;
};

} // namespace

class StartupProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "probe.json")
public:
    QObject* create(const QString&, const QString&) override {
        auto* probe = new FirstPaintProbe(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(probe);
        return probe;
    }
};

#include "startup_probe.moc"
