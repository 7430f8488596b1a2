// Start-up probe: builds and shows either the configurator's main window or a minimal Qt window,
// writes one line when the first show has ended, then exits.
#include "app/mainform.h"
#include "pages/geometry.h"

#include <QApplication>
#include <QLabel>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
    const bool minimal = argc > 1 && std::strcmp(argv[1], "minimal") == 0;
    QApplication app(argc, argv);
    if (minimal) {
        // The same client size as the configurator, so both pay for the same backing store.
        QLabel w(QStringLiteral("minimal"));
        w.setFixedSize(q7x::pages::geometry::MainFormWidth, q7x::pages::geometry::MainFormHeight);
        w.show();
        std::puts("shown");
        std::fflush(stdout);
        return 0;
    }
    q7x::pages::RecordingDialogs dialogs;
    q7x::app::TMainForm w(&dialogs);
    w.show();
    std::puts("shown");
    std::fflush(stdout);
    return 0;
}
