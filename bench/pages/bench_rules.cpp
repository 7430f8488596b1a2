// Page-rule benchmark: a work-mode switch (the rule run by a user's choice) and a full ResetForm,
// each against a trivial widget update (a label caption) measured in the same run.
#include "app/mainform.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medianNs(int runs, const std::function<void(int)> &work) {
    std::vector<double> ns;
    ns.reserve(static_cast<std::size_t>(runs));
    QElapsedTimer t;
    for (int i = 0; i < runs; ++i) {
        t.start();
        work(i);
        ns.push_back(double(t.nsecsElapsed()));
    }
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    q7x::pages::RecordingDialogs dialogs;
    q7x::app::TMainForm w(&dialogs);
    w.show();
    QApplication::processEvents();

    auto *label = w.controls().label(QStringLiteral("Label2"));
    const double trivial = medianNs(2001, [&](int i) { label->setCaption(QString::number(i)); });
    const double combo = medianNs(101, [&](int i) {
        w.WorkModeComboBox->setCurrentIndex(i % 6);
        emit w.WorkModeComboBox->activated(i % 6);
    });
    const double reset = medianNs(41, [&](int) { w.ResetForm(); });

    std::printf("page rules, median (offscreen platform)\n");
    std::printf("  label caption update : %10.0f ns (baseline)\n", trivial);
    std::printf("  WorkModeCombo switch : %10.0f ns  = %8.0fx baseline\n", combo, combo / trivial);
    std::printf("  ResetForm            : %10.0f ns  = %8.0fx baseline\n", reset, reset / trivial);
    return 0;
}
