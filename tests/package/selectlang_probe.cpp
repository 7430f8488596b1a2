// Prints where the arrow of the language selector lies in the main window once it is shown, as
// "x y" in window coordinates, and exits. Put beside an installed program, it finds the same
// files and settings, so it lays the window out exactly as the program does; the install test
// clicks there.
#include "app/mainform.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    q7x::pages::RecordingDialogs dialogs;
    q7x::app::TMainForm w(&dialogs);
    w.show();
    QApplication::processEvents();
    const QWidget *combo = w.SelectLang;
    const int h = combo->height();
    const QPoint arrow = combo->mapTo(&w, QPoint(combo->width() - h / 2, h / 2));
    std::printf("%d %d\n", arrow.x(), arrow.y());
    return 0;
}
