#include "core/session/Version.h"
#include "ui/window/ToolbarIcons.h"
#include "ui/window/frmMain.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr const char *kUsage = "Usage: tessaldo [FILE]\n"
                               "\n"
                               "Draws 16 x 16 pictures for serial graphic LCD modules and turns them into the C\n"
                               "code that sends them to the module. FILE, a drawing file (.Lcd), is opened at\n"
                               "start as Open would open it; a C header or source (icons.h, sketch.ino) opens\n"
                               "as a set, as Open Set would open it.\n"
                               "\n"
                               "Options:\n"
                               "  --help       print this text\n"
                               "  --version    print the program's name and version\n"
                               "\n"
                               "The toolkit's own options, such as -platform or -style, are taken as well.\n"
                               "Exit status: 0 when the window is closed, 1 without a display, 2 wrong usage.\n";

// The toolkit's options that take a value; it removes them, and its flags, itself.
bool IsToolkitOptionWithValue(std::string_view option)
{
    for (const std::string_view known :
         {"-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-style", "-stylesheet", "-display",
          "-geometry", "-qwindowgeometry", "-qwindowtitle", "-qwindowicon", "-session", "-qmljsdebugger", "-title"}) {
        if (option == known)
            return true;
    }
    return false;
}

bool IsToolkitFlag(std::string_view option)
{
    for (const std::string_view known : {"-reverse", "-nograb", "-dograb", "-sync", "-widgetcount"}) {
        if (option == known)
            return true;
    }
    return false;
}

// What the command line asks for, read before the toolkit starts so that
// --help and wrong usage need no display.
struct Request {
    enum Kind { Run, Help, Version, Wrong } kind = Run;
    const char *file = nullptr;
    std::string problem; // with Wrong: what is wrong, in one line
};

Request ReadCommandLine(int argc, char *argv[])
{
    Request request;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h")
            return {Request::Help, nullptr, {}};
        if (arg == "--version")
            return {Request::Version, nullptr, {}};
        if (IsToolkitOptionWithValue(arg) && i + 1 < argc) {
            ++i;
            continue;
        }
        if (IsToolkitFlag(arg))
            continue;
        if (arg.size() > 1 && arg.front() == '-')
            return {Request::Wrong, nullptr, "unknown option '" + std::string(arg) + "'"};
        if (request.file != nullptr)
            return {Request::Wrong, nullptr, "one FILE at most, not '" + std::string(arg) + "' as well"};
        request.file = argv[i];
    }
    return request;
}

// Without a display the toolkit would abort with a long trace; one line says it better.
bool HasDisplay()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const auto isSet = [](const char *name) {
        const char *value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

// Runs `work` once, right after the window's first frame: a frame is painted
// and sent to the screen in one go, so what its paint posts comes after it. A
// window that starts minimized paints nothing, so a second is the latest.
class AfterFirstFrame final : public QObject {
public:
    AfterFirstFrame(QWidget &window, std::function<void()> work) : QObject(&window), m_work(std::move(work))
    {
        window.installEventFilter(this);
        QTimer::singleShot(kLatestMs, this, &AfterFirstFrame::Run);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, &AfterFirstFrame::Run);
        }
        return false;
    }

private:
    static constexpr int kLatestMs = 1000;

    void Run()
    {
        if (!m_work)
            return;
        std::exchange(m_work, nullptr)();
        deleteLater();
    }

    std::function<void()> m_work;
};

} // namespace

int main(int argc, char *argv[])
{
    const Request request = ReadCommandLine(argc, argv);
    switch (request.kind) {
    case Request::Help:
        std::fputs(kUsage, stdout);
        return 0;
    case Request::Version:
        std::printf("tessaldo %.*s\n", static_cast<int>(tessaldo::kVersion.size()), tessaldo::kVersion.data());
        return 0;
    case Request::Wrong:
        std::fprintf(stderr, "tessaldo: %s\nTry 'tessaldo --help'.\n", request.problem.c_str());
        return 2;
    case Request::Run:
        break;
    }
    if (!HasDisplay()) {
        std::fputs("tessaldo: no display to open the window on (DISPLAY is not set).\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaldo"));
    QApplication::setApplicationVersion(QString::fromUtf8(tessaldo::kVersion));
    QApplication::setDesktopFileName(QStringLiteral("tessaldo"));
    frmMain window;
    // The icon goes to the window manager, not into the window: handing it
    // over, at every size, would only hold up the first frame.
    new AfterFirstFrame(window, [] { QApplication::setWindowIcon(ToolbarIcons::Application()); });
    window.show();
    if (request.file != nullptr) {
        // Once the window is up, so that a refused file's warning has it to stand over.
        const QString file = QString::fromLocal8Bit(request.file);
        QTimer::singleShot(0, &window, [&window, file] { window.OpenAtStart(file); });
    }
    return QApplication::exec();
}
