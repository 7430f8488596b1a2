#pragma once
// Settings changed as a person changes them in the window: each change is the edit of the
// setting's control (a list's choice, a tick, a text typed and the field left), and runs the rules
// the window runs for that control, in the order given, on the configuration loaded as the
// window loads a file. A value the window would not take is refused, and then nothing changes:
// a control the window shows disabled or hidden with the other settings as they are, a value its
// list does not offer, a text that cannot be stored, a value the window's rules turn into
// another. `set`, `import --base` and `clone --per-device` are this one function.
#include "cli/fieldtext.h"
#include "image/configimage.h"

#include <QJsonValue>

namespace q7x::cli {

struct Change {
    enum class Given { Text, Json, JsonVersion1 };
    QString key;
    Given given = Given::Text;
    QString text;     // Text: as typed after KEY=
    QJsonValue value; // Json, JsonVersion1: as the file holds it
    QString origin;   // where it was given, for messages ("sites.csv row 2"); empty: the
                      // command line
    // "KEY=VALUE" as given on the command line; nothing when there is no "=" or no key.
    static std::optional<Change> parse(const QString &argument);
};

struct Edited {
    image::ConfigImage image{}; // what the window's Save stores after the changes
    QStringList refusals;       // why the changes were refused, in the interface language
    QStringList changed;        // keys of the settings the changes changed, in their order
};

// The changes applied to `base` loaded as the window loads a file. `base` must be a
// configuration the window would write as it stands (see prepareWrite).
Edited applyChanges(image::DeviceModel model, const image::ConfigImage &base,
                    const QList<Change> &changes, const FieldText &words);

// The changes in the order of the window's pages (the order a file's settings are applied in).
QList<Change> inWindowOrder(image::DeviceModel model, QList<Change> changes);

// Every key a change may name for the model, in the window's order.
QStringList changeableKeys(image::DeviceModel model);

} // namespace q7x::cli
