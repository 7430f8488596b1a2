// q7xctl preset --model q71|q72 --mode N -o FILE: a factory configuration as a file.
#include "cli/commands.h"
#include "cli/files.h"
#include "image/presets.h"
#include "lang/messagetable.h"

namespace q7x::cli {

void addPreset(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::string model, output, mode;
        bool force = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "preset", "Write the factory configuration of a model and work mode to a file");
    allowOnly(sub->add_option("--model", o->model, "q71 or q72")->required(), {"q71", "q72"});
    QStringList modes;
    for (int m = 0; m < image::PresetWorkModeCount; ++m)
        modes << QString::number(m);
    allowOnly(sub->add_option("--mode", o->mode,
                              "Work mode as the window lists it: 0 stand-alone, 1 extended (W40), "
                              "2..5 extended (W30/1, W30/2, W30/4, W30/8)")
                  ->required(),
              modes);
    sub->add_option("-o,--output", o->output, "The configuration file to write (- for stdout)")
        ->required();
    sub->add_flag("--force", o->force, "Replace an existing file");
    listStatuses(sub, {Done, BadUsage}, "written");
    sub->callback([&run, &status, o] {
        const image::DeviceModel model =
            o->model == "q71" ? image::DeviceModel::Q71 : image::DeviceModel::Q72;
        const QString path = QString::fromStdString(o->output);
        const image::ConfigImage preset = image::presetImage(model, std::stoi(o->mode));
        status = writeOutput(run, path, configurationText({model, preset, {}}), o->force);
        if (status == Done && path != QLatin1String("-"))
            run.say(lang::FormatM(1816, printable(path)));
    });
}

} // namespace q7x::cli
