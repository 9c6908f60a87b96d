// The GUI tests run in one QApplication on the offscreen platform.
#include <gmock/gmock.h>

#include <QApplication>

// Read by ThreadSanitizer at start (and by nothing else): it cannot see the
// synchronisation inside the uninstrumented Qt and GLib libraries, whose own
// threads (pools, the network thread and its event loop) free or close what
// the GUI thread made after waiting for it in their code. The sound test's
// Qt Multimedia asks the sound server on a mainloop thread of libpulse.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so\nrace:libQt6Gui.so\nrace:libQt6Widgets.so\n"
           "race:libQt6Network.so\nrace:libglib-2.0.so\nrace:libQt6Multimedia.so\n"
           "race:libpulse.so\n";
}

// Read by LeakSanitizer: the sound server's client library keeps what it
// made for a connection that failed (no server on a test machine).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libpulse.so\nleak:libpulsecommon\n";
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
