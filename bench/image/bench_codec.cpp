// Codec benchmark: decoding a full image into the live main window and encoding it back, for both
// models, against the window's own ResetForm measured in the same run. Prints medians and ratios.
#include "app/mainform.h"
#include "image/codec.h"
#include "image/presets.h"
#include "pages/dialogs.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace q7x;

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
image::ConfigImage fullImage(app::TMainForm &w, int model) {
    const auto &c = w.controls();
    w.Mode->setItemIndex(model == pages::ModelQ71 ? 0 : 1);
    w.WorkMode(w.Mode);
    w.WorkModeComboBox->setItemIndex(1);
    image::DefaultButtonClick(w);
    for (int r = 1; r <= 8; ++r) {
        for (int p = 1; p <= 16; ++p)
            c.check(S("rzd"), r, p)->setChecked(true);
        if (model == pages::ModelQ71)
            c.edit(S("LinePhone"), r)->setText(S("8495123456789012345678WB"));
        else
            c.mask(S("PhoneNumber"), r)->setText(S("+79031234567890"));
    }
    for (int p = 1; p <= 16; ++p)
        c.combo(S("ObjNmb"), p)->setItemIndex(p);
    for (int k = 1; k <= 24; ++k)
        c.edit(S("Edit"), k)->setText(QString::number(1100 + k));
    const image::LegacyEncoded e = image::EncodeImage(w);
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

    std::printf("%-6s %12s %12s %12s %14s %14s\n", "model", "reset ms", "decode ms", "encode ms",
                "decode/reset", "encode/reset");
    for (int model : {pages::ModelQ71, pages::ModelQ72}) {
        const image::ConfigImage img = fullImage(w, model);
        const double reset = medianMs(Runs, [&] { w.ResetForm(); });
        const double decode = medianMs(Runs, [&] { image::DecodeImage(w, img); });
        const double encode = medianMs(Runs, [&] {
            if (!image::EncodeImage(w).ok())
                std::exit(1);
        });
        std::printf("Q%-5d %12.3f %12.3f %12.3f %14.2f %14.2f\n", model, reset, decode, encode,
                    decode / reset, encode / reset);
    }
    if (!dialogs.texts().isEmpty())
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(dialogs.texts().first()));
    return 0;
}
