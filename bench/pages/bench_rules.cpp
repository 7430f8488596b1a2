// Page-rule benchmark: a work-mode switch (the rule run by a user's choice), a full ResetForm and
// a factory preset read into the window, each against a trivial widget update (a label caption)
// measured in the same run; and the same edits on the form alone, without the window.
//   q7x_bench_rules              the figures
//   q7x_bench_rules --loads N    the window reads N presets and exits (for whole-process timing
//                                of two builds)
#include "app/mainform.h"
#include "image/formrules.h"
#include "image/presets.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

    using q7x::image::DeviceModel;
    if (argc == 3 && std::strcmp(argv[1], "--loads") == 0) {
        for (int i = 0, n = std::atoi(argv[2]); i < n; ++i)
            w.readImage(q7x::image::presetImage(DeviceModel::Q72, i % 6));
        return 0;
    }

    auto *label = w.controls().label(QStringLiteral("Label2"));
    const double trivial = medianNs(2001, [&](int i) { label->setCaption(QString::number(i)); });
    const double combo = medianNs(101, [&](int i) {
        w.mainPage().WorkModeComboBox->setCurrentIndex(i % 6);
        emit w.mainPage().WorkModeComboBox->activated(i % 6);
    });
    const double reset = medianNs(41, [&](int) { w.ResetForm(); });
    const double load =
        medianNs(41, [&](int i) { w.readImage(q7x::image::presetImage(DeviceModel::Q72, i % 6)); });

    // The same on the form alone: new settings and view state, no control touched.
    q7x::image::Form form = q7x::image::startForm(QStringLiteral("Russian"));
    q7x::image::FormEffects fx;
    const double formCombo = medianNs(2001, [&](int i) {
        q7x::image::userEdit(form, QStringLiteral("WorkModeComboBox"), q7x::image::EditKind::Choose,
                             i % 6, fx);
    });
    const double formGsm = medianNs(2001, [&](int i) {
        q7x::image::userEdit(form, QStringLiteral("TypeMesgGSM3"), q7x::image::EditKind::Choose,
                             i % 10, fx);
    });
    const double formLoad = medianNs(201, [&](int i) {
        q7x::image::readImage(form, q7x::image::presetImage(DeviceModel::Q72, i % 6), fx);
        fx = {};
    });

    std::printf("page rules, median (offscreen platform)\n");
    std::printf("  label caption update : %10.0f ns (baseline)\n", trivial);
    std::printf("  WorkModeCombo switch : %10.0f ns  = %8.0fx baseline\n", combo, combo / trivial);
    std::printf("  ResetForm            : %10.0f ns  = %8.0fx baseline\n", reset, reset / trivial);
    std::printf("  preset read (Load)   : %10.0f ns  = %8.0fx baseline\n", load, load / trivial);
    std::printf("the rules on the form alone, median\n");
    std::printf("  work-mode choice     : %10.0f ns  = %8.1fx baseline\n", formCombo,
                formCombo / trivial);
    std::printf("  GSM type choice      : %10.0f ns  = %8.1fx baseline\n", formGsm,
                formGsm / trivial);
    std::printf("  preset read          : %10.0f ns  = %8.1fx baseline\n", formLoad,
                formLoad / trivial);
    return 0;
}
