// q7xctl preset --model q71|q72 --mode N -o FILE: a factory configuration as a file.
#include "cli/commands.h"
#include "cli/files.h"
#include "image/presets.h"
#include "lang/messagetable.h"

namespace q7x::cli {

void addPreset(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::string model, output;
        int mode = 0;
        bool force = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "preset", "Write the factory configuration of a model and work mode to a file");
    sub->add_option("--model", o->model, "q71 or q72")
        ->required()
        ->check(CLI::IsMember({"q71", "q72"}));
    sub->add_option("--mode", o->mode,
                    "Work mode as the window lists it: 0 stand-alone, 1 extended (W40), 2..5 "
                    "extended (W30/1, W30/2, W30/4, W30/8)")
        ->required()
        ->check(CLI::Range(0, image::PresetWorkModeCount - 1));
    sub->add_option("-o,--output", o->output, "The configuration file to write")->required();
    sub->add_flag("--force", o->force, "Replace an existing file");
    sub->callback([&run, &status, o] {
        run.loadMessages();
        const image::DeviceModel model =
            o->model == "q71" ? image::DeviceModel::Q71 : image::DeviceModel::Q72;
        const QString path = QString::fromStdString(o->output);
        status =
            writeConfiguration(run, path, {model, image::presetImage(model, o->mode)}, o->force);
        if (status == Done)
            run.say(lang::FormatM(1816, path));
    });
}

} // namespace q7x::cli
