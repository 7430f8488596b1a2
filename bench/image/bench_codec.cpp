// Codec benchmark, both models, on a full image: the settings codecs alone (decode and encode,
// against their 0.2 ms budget), and the image applied to the live main window and gathered back
// from it, against the window's own ResetForm measured in the same run. Prints medians and ratios.
#include "app/mainform.h"
#include "image/settings.h"
#include "pages/dialogs.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace q7x;
using core::DeviceModel;

double medianMs(int runs, const std::function<void()> &work) {
    std::vector<double> ms;
    ms.reserve(std::size_t(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

// A full image: a preset with every recipient, partition and code in use.
image::ConfigImage fullImage(app::TMainForm &w, DeviceModel model) {
    const auto &c = w.controls();
    w.Mode->setItemIndex(model == pages::DeviceModel::Q71 ? 0 : 1);
    w.WorkMode(w.Mode);
    w.mainPage().WorkModeComboBox->setItemIndex(1);
    w.DefaultButtonClick(w.DefaultButton);
    for (int r = 1; r <= 8; ++r) {
        for (int p = 1; p <= 16; ++p)
            c.check(S("rzd"), r, p)->setChecked(true);
        if (model == pages::DeviceModel::Q71)
            c.edit(S("LinePhone"), r)->setText(S("8495123456789012345678WB"));
        else
            c.mask(S("PhoneNumber"), r)->setText(S("+79031234567890"));
    }
    for (int p = 1; p <= 16; ++p)
        c.combo(S("ObjNmb"), p)->setItemIndex(p);
    for (int k = 1; k <= 24; ++k)
        c.edit(S("Edit"), k)->setText(QString::number(1100 + k));
    const image::Encoded e = w.encodeImage();
    if (!e.ok()) {
        std::fprintf(stderr, "encoder: %s\n", qPrintable(e.error));
        std::exit(1);
    }
    return e.image;
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    w.SelectLang->setText(S("Russian"));
    w.show();
    constexpr int Runs = 41;
    constexpr double BudgetMs = 0.2;

    std::printf("%-6s %10s %10s %10s %10s %12s %12s %12s\n", "model", "codec ms", "reset ms",
                "apply ms", "gather ms", "codec/0.2ms", "apply/reset", "gather/reset");
    for (DeviceModel model : {pages::DeviceModel::Q71, pages::DeviceModel::Q72}) {
        const image::ConfigImage img = fullImage(w, model);
        const bool q71 = model == pages::DeviceModel::Q71;
        const double codec = medianMs(Runs * 50, [&] {
            const image::Encoded e = q71 ? image::encodeQ71(image::decodeQ71(img).settings)
                                         : image::encodeQ72(image::decodeQ72(img).settings);
            if (!e.ok())
                std::exit(1);
        });
        const double reset = medianMs(Runs, [&] { w.ResetForm(); });
        const double apply = medianMs(Runs, [&] { w.readImage(img); });
        const double gather = medianMs(Runs, [&] {
            if (!w.encodeImage().ok())
                std::exit(1);
        });
        std::printf("Q%-5d %10.4f %10.3f %10.3f %10.3f %12.2f %12.2f %12.2f\n",
                    core::modelCode(model), codec, reset, apply, gather, codec / BudgetMs,
                    apply / reset, gather / reset);
    }
    if (!dialogs.texts().isEmpty())
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(dialogs.texts().first()));
    return 0;
}
