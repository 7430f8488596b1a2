// The start-up translation (TranslateWindow: both libraries loaded, about 3000 window texts
// replaced, the message table filled) against the whole start-up of the window (construction,
// creation, first show) in the same run, with English stored so that every text changes.
#include "app/mainform.h"
#include "lang/ini.h"
#include "lang/messagetable.h"
#include "pages/translatewalk.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace q7x;

namespace {

const QStringList Files = {QStringLiteral("englng.dll"), QStringLiteral("engmess.dll")};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString &f : Files) {
        QFile::remove(here.filePath(f));
        if (!QFile::copy(QDir(QStringLiteral(Q7X_LANGUAGE_LIBRARY_DIR)).filePath(f),
                         here.filePath(f)))
            return 1;
    }
    {
        QFile ini(lang::IniPath());
        if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        ini.write("[Lang]\nDefault=English\n");
    }

    // The translation is timed where the window runs it, inside its creation handler.
    double translateMs = 0;
    std::function<void(const QList<QWidget *> &)> timed;
    timed = [&](const QList<QWidget *> &forms) {
        pages::SetTranslationInterceptor({});
        QElapsedTimer t;
        t.start();
        pages::TranslateWindow(forms);
        translateMs = t.nsecsElapsed() / 1e6;
        pages::SetTranslationInterceptor(timed);
    };
    pages::SetTranslationInterceptor(timed);

    constexpr int rounds = 7;
    std::vector<double> startup;
    std::vector<double> translate;
    std::vector<double> walk;
    for (int i = 0; i < rounds; ++i) {
        lang::MessageTable().fill(QString());
        pages::RecordingDialogs dialogs;
        QElapsedTimer t;
        t.start();
        auto *w = new app::TMainForm(&dialogs);
        w->show();
        QApplication::processEvents();
        startup.push_back(t.nsecsElapsed() / 1e6);
        translate.push_back(translateMs);
        if (w->windowTitle().startsWith(QStringLiteral("Программа")))
            return 1; // not translated: the libraries were not found
        // The bare walk over the same window: the message loop runs before every control, no
        // library is read and no text changes.
        t.restart();
        pages::WalkForms({w}, [](int, const QString &, const QString &) { return QString(); });
        walk.push_back(t.nsecsElapsed() / 1e6);
        delete w;
    }
    pages::SetTranslationInterceptor({});
    for (const QString &f : Files)
        QFile::remove(here.filePath(f));
    QFile::remove(lang::IniPath());

    const double s = median(startup);
    const double tr = median(translate);
    std::printf("whole start-up:     %8.1f ms (median of %d)\n", s, rounds);
    std::printf("TranslateWindow:    %8.1f ms\n", tr);
    std::printf("share of start-up:  %8.1f %%\n", 100.0 * tr / s);
    std::printf("bare walk:          %8.1f ms\n", median(walk));
    return 0;
}
