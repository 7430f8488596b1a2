// Saves a picture of every main page and every inner page of the window, of the service menu and
// of a comparison with the factory settings of another work mode, and the configuration sheet as
// a PDF file, for looking at the layout:
// q7xshots OUTPUT_DIR [demo-q71|demo-q72|online]
#include "app/comparedialog.h"
#include "app/mainform.h"
#include "image/configfile.h"
#include "image/presets.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QMenu>
#include <QTimer>

using namespace q7x;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("demo-q72");
    QDir().mkpath(out);
    q7x::pages::RecordingDialogs dialogs;
    // The pointer away from the window, so that no control is drawn as hovered.
    QCursor::setPos(0, 0);
    q7x::app::TMainForm w(&dialogs);
    w.show();
    QTimer::singleShot(300, [&] {
        const int modeIndex = mode == QLatin1String("demo-q71") ? 0
                              : mode == QLatin1String("online") ? 2
                                                                : 1;
        if (w.Mode->itemIndex() != modeIndex) {
            w.Mode->setItemIndex(modeIndex);
            w.WorkMode(w.Mode);
        }
        auto save = [&](const QString &name) {
            QApplication::processEvents();
            w.grab().save(out + QLatin1Char('/') + mode + QLatin1Char('-') + name +
                          QStringLiteral(".png"));
        };
        for (int i = 0; i < w.PageControl1->count(); ++i) {
            w.PageControl1->setActivePageIndex(i);
            if (i == q7x::pages::PageRecipients) {
                for (int j = 0; j < w.recipientsPage().PageControl2->count(); ++j) {
                    w.recipientsPage().PageControl2->setActivePageIndex(j);
                    w.PageControl2Change(w.recipientsPage().PageControl2);
                    save(QStringLiteral("page%1-%2").arg(i + 1).arg(j + 1));
                }
            } else {
                save(QStringLiteral("page%1").arg(i + 1));
            }
        }
        QMenu *menu = w.ServiceButton->menu();
        menu->popup(w.ServiceButton->mapToGlobal(QPoint(0, w.ServiceButton->height())));
        QApplication::processEvents();
        menu->grab().save(out + QLatin1Char('/') + mode + QStringLiteral("-menu.png"));
        menu->hide();
        const QString other = out + QStringLiteral("/other.cfg");
        image::writeConfigFile(other, image::presetImage(w.DeviceModel, 0), w.DeviceModel);
        dialogs.fileNames << other;
        w.CompareFileItem->trigger();
        if (q7x::app::CompareDialog *d = w.compareDialog()) {
            QApplication::processEvents();
            d->grab().save(out + QLatin1Char('/') + mode + QStringLiteral("-compare.png"));
            save(QStringLiteral("compared"));
        }
        QFile::remove(other);
        dialogs.fileNames << out + QLatin1Char('/') + mode + QStringLiteral("-sheet.pdf");
        w.ReportItem->trigger();
        app.quit();
    });
    return app.exec();
}
