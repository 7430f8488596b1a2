// Filling MessageTable from a message library (load, 1000 string look-ups, release) against
// only reading the same file, measured in one run.
#include "lang/languagelibraries.h"
#include "lang/messagetable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QString dir = QStringLiteral(Q7X_LANGUAGE_LIBRARY_DIR);
    const QString path = dir + QStringLiteral("/rusmess.dll");
    constexpr int rounds = 200;

    qint64 bytes = 0;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < rounds; ++i) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        bytes += f.readAll().size();
    }
    const double readUs = t.nsecsElapsed() / 1000.0 / rounds;

    t.restart();
    for (int i = 0; i < rounds; ++i) {
        q7x::lang::MessageTable().fill(QString());
        if (!q7x::lang::LoadMessageTable(QStringLiteral("Russian"), dir))
            return 1;
    }
    const double fillUs = t.nsecsElapsed() / 1000.0 / rounds;

    std::printf("file read:          %8.1f us (%lld bytes)\n", readUs,
                static_cast<long long>(bytes / rounds));
    std::printf("LoadMessageTable:   %8.1f us\n", fillUs);
    std::printf("ratio fill / read:  %8.1f\n", fillUs / readUs);
    return 0;
}
