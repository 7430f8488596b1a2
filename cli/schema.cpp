#include "cli/schema.h"

#include "cli/models.h"
#include "cli/settingsjson.h"
#include "cli/settingvalues.h"
#include "image/presets.h"

#include <QJsonArray>

namespace q7x::cli {

namespace {

QJsonArray strings(const QStringList &list) { return QJsonArray::fromStringList(list); }

JsonNode typed(const char *type) {
    JsonNode n = JsonNode::object();
    n.insert(QStringLiteral("type"), QLatin1String(type));
    return n;
}

JsonNode constant(const QString &value) {
    JsonNode n = JsonNode::object();
    n.insert(QStringLiteral("const"), value);
    return n;
}

JsonNode reference(const QString &name) {
    JsonNode n = JsonNode::object();
    n.insert(QStringLiteral("$ref"), QStringLiteral("#/$defs/") + name);
    return n;
}

// An object with exactly these members, `required` of them required.
JsonNode closedObject(const QList<QPair<QString, JsonNode>> &members, const QStringList &required) {
    JsonNode n = typed("object");
    JsonNode properties = JsonNode::object();
    for (const auto &[name, schema] : members)
        properties.insert(name, schema);
    n.insert(QStringLiteral("properties"), properties);
    n.insert(QStringLiteral("required"), strings(required));
    n.insert(QStringLiteral("additionalProperties"), false);
    return n;
}

JsonNode arrayOf(const JsonNode &items) {
    JsonNode n = typed("array");
    n.insert(QStringLiteral("items"), items);
    return n;
}

// The members every document begins with, and the format that names its kind.
QList<QPair<QString, JsonNode>> head(const QString &format) {
    JsonNode version = JsonNode::object();
    version.insert(QStringLiteral("const"), JsonVersion);
    return {{QStringLiteral("$schema"), typed("string")},
            {QStringLiteral("format"), constant(format)},
            {QStringLiteral("version"), version}};
}

const QStringList HeadKeys{QStringLiteral("format"), QStringLiteral("version")};

// The schema of each setting's value, nested by the parts of its key, and the list values shared
// by several settings once under $defs.
class SettingsSchema {
  public:
    explicit SettingsSchema(JsonNode &defs) : m_defs(defs) {}

    template <class M> JsonNode build(const FieldText &words) {
        using S = typename M::Settings;
        const S s = M::decode(image::presetImage(M::model, 0)).settings;
        Node root;
        for (const image::CatalogueField<S> &f : M::catalogue()) {
            Node *node = &root;
            for (const QString &part : f.key.split(QLatin1Char('.')))
                node = &node->child(part);
            node->leaf = leaf(f, s, words);
        }
        return root.schema();
    }

  private:
    struct Node {
        QList<QPair<QString, Node>> children;
        std::optional<JsonNode> leaf;
        Node &child(const QString &name) {
            for (auto &c : children)
                if (c.first == name)
                    return c.second;
            children.append({name, Node()});
            return children.last().second;
        }
        JsonNode schema() const {
            if (leaf)
                return *leaf;
            JsonNode n = typed("object");
            JsonNode properties = JsonNode::object();
            for (const auto &[name, c] : children)
                properties.insert(name, c.schema());
            n.insert(QStringLiteral("properties"), properties);
            n.insert(QStringLiteral("additionalProperties"), false);
            return n;
        }
    };

    template <class S>
    JsonNode leaf(const image::CatalogueField<S> &f, const S &s, const FieldText &words) {
        const ValueRange r = valueRange(f, s);
        JsonNode n;
        switch (r.type) {
        case ValueType::Item: {
            // A value no item of the list shows reads as null.
            QJsonArray values;
            for (const QJsonValue &v : r.items)
                values << v;
            values << QJsonValue::Null;
            n = reference(listName(values));
            break;
        }
        case ValueType::Boolean:
            n = typed("boolean");
            break;
        case ValueType::Text:
            n = typed("string");
            break;
        case ValueType::Integer:
            n = typed("integer");
            n.insert(QStringLiteral("minimum"), r.minimum);
            n.insert(QStringLiteral("maximum"), r.maximum);
            break;
        case ValueType::Digits:
            n = typed("string");
            n.insert(QStringLiteral("pattern"), QStringLiteral("^[0-9]{0,6}$"));
            break;
        }
        n.insert(QStringLiteral("title"),
                 words.pages(f.pages) + QStringLiteral(" / ") + words.label(f, s));
        if (!r.unit.isEmpty())
            n.insert(QStringLiteral("description"), QStringLiteral("Unit: ") + r.unit);
        return n;
    }

    // The $defs entry of a list's values, shared by every setting of the same list.
    QString listName(const QJsonArray &values) {
        for (int i = 0; i < m_lists.size(); ++i)
            if (m_lists[i] == values)
                return QStringLiteral("list%1").arg(i + 1);
        m_lists << values;
        JsonNode n = JsonNode::object();
        n.insert(QStringLiteral("enum"), values);
        const QString name = QStringLiteral("list%1").arg(m_lists.size());
        m_defs.insert(name, n);
        return name;
    }

    JsonNode &m_defs;
    QList<QJsonArray> m_lists;
};

QStringList keysOf(image::DeviceModel model) {
    return withModel(model, [](auto m) {
        QStringList keys;
        for (const auto &f : decltype(m)::catalogue())
            keys << f.key;
        return keys;
    });
}

JsonNode settingsDocument() {
    JsonNode stored = typed("string");
    stored.insert(QStringLiteral("pattern"),
                  QStringLiteral("^[0-9a-fA-F]{%1}$").arg(2 * image::ImageSize));
    auto members = head(QLatin1String(SettingsFormat));
    JsonNode model = JsonNode::object();
    model.insert(QStringLiteral("enum"), strings({QStringLiteral("Q71"), QStringLiteral("Q72")}));
    members << QPair<QString, JsonNode>{QStringLiteral("model"), model}
            << QPair<QString, JsonNode>{QStringLiteral("settings"), typed("object")}
            << QPair<QString, JsonNode>{QStringLiteral("damaged"), arrayOf(typed("string"))}
            << QPair<QString, JsonNode>{QStringLiteral("stored"), stored};
    JsonNode doc = closedObject(members, HeadKeys + QStringList{QStringLiteral("settings")});
    // The settings and the damaged keys of the model named; without a model, those of either.
    JsonNode cases = JsonNode::array();
    for (const char *m : {"Q71", "Q72"}) {
        const QString name = QLatin1String(m);
        JsonNode condition = JsonNode::object();
        condition[QStringLiteral("properties")].insert(QStringLiteral("model"), constant(name));
        condition.insert(QStringLiteral("required"), strings({QStringLiteral("model")}));
        JsonNode then = JsonNode::object();
        then[QStringLiteral("properties")].insert(QStringLiteral("settings"),
                                                  reference(QStringLiteral("settings") + name));
        then[QStringLiteral("properties")].insert(QStringLiteral("damaged"),
                                                  arrayOf(reference(QStringLiteral("key") + name)));
        JsonNode rule = JsonNode::object();
        rule.insert(QStringLiteral("if"), condition);
        rule.insert(QStringLiteral("then"), then);
        cases.append(rule);
    }
    JsonNode either = JsonNode::object();
    JsonNode anyModel = JsonNode::array();
    anyModel.append(reference(QStringLiteral("settingsQ71")));
    anyModel.append(reference(QStringLiteral("settingsQ72")));
    either[QStringLiteral("properties")][QStringLiteral("settings")].insert(QStringLiteral("anyOf"),
                                                                            anyModel);
    JsonNode noModel = JsonNode::object();
    noModel[QStringLiteral("not")].insert(QStringLiteral("required"),
                                          strings({QStringLiteral("model")}));
    JsonNode rule = JsonNode::object();
    rule.insert(QStringLiteral("if"), noModel);
    rule.insert(QStringLiteral("then"), either);
    cases.append(rule);
    doc.insert(QStringLiteral("allOf"), cases);
    return doc;
}

JsonNode anyValue() {
    JsonNode n = JsonNode::object();
    n.insert(QStringLiteral("type"), strings({QStringLiteral("null"), QStringLiteral("boolean"),
                                              QStringLiteral("number"), QStringLiteral("string")}));
    return n;
}

JsonNode modelName() {
    JsonNode n = JsonNode::object();
    n.insert(QStringLiteral("enum"), strings({QStringLiteral("Q71"), QStringLiteral("Q72")}));
    return n;
}

JsonNode diffDocument() {
    JsonNode anyKey = JsonNode::object();
    JsonNode keys = JsonNode::array();
    keys.append(reference(QStringLiteral("keyQ71")));
    keys.append(reference(QStringLiteral("keyQ72")));
    anyKey.insert(QStringLiteral("anyOf"), keys);
    const JsonNode difference =
        closedObject({{QStringLiteral("key"), anyKey},
                      {QStringLiteral("page"), typed("string")},
                      {QStringLiteral("setting"), typed("string")},
                      {QStringLiteral("a"), anyValue()},
                      {QStringLiteral("b"), anyValue()},
                      {QStringLiteral("aText"), typed("string")},
                      {QStringLiteral("bText"), typed("string")}},
                     {QStringLiteral("key"), QStringLiteral("page"), QStringLiteral("setting"),
                      QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("aText"),
                      QStringLiteral("bText")});
    return closedObject(
        head(QStringLiteral("q7xctl-diff")) +
            QList<QPair<QString, JsonNode>>{{QStringLiteral("model"), modelName()},
                                            {QStringLiteral("a"), typed("string")},
                                            {QStringLiteral("b"), typed("string")},
                                            {QStringLiteral("fileAsWritten"), typed("boolean")},
                                            {QStringLiteral("equal"), typed("boolean")},
                                            {QStringLiteral("differences"), arrayOf(difference)}},
        HeadKeys + QStringList{QStringLiteral("model"), QStringLiteral("a"), QStringLiteral("b"),
                               QStringLiteral("equal"), QStringLiteral("differences")});
}

JsonNode checkDocument() {
    JsonNode kind = JsonNode::object();
    kind.insert(QStringLiteral("enum"),
                strings({QStringLiteral("damaged"), QStringLiteral("unshown"),
                         QStringLiteral("unstorable"), QStringLiteral("outOfRange")}));
    JsonNode offset = typed("integer"), line = typed("integer");
    offset.insert(QStringLiteral("minimum"), 0);
    offset.insert(QStringLiteral("maximum"), image::ImageSize - 1);
    line.insert(QStringLiteral("minimum"), 1);
    line.insert(QStringLiteral("maximum"), image::ImageSize);
    const JsonNode problem =
        closedObject({{QStringLiteral("kind"), kind},
                      {QStringLiteral("key"), typed("string")},
                      {QStringLiteral("setting"), typed("string")},
                      {QStringLiteral("offset"), offset},
                      {QStringLiteral("line"), line},
                      {QStringLiteral("detail"), typed("string")}},
                     {QStringLiteral("kind"), QStringLiteral("key"), QStringLiteral("setting")});
    return closedObject(
        head(QStringLiteral("q7xctl-check")) +
            QList<QPair<QString, JsonNode>>{{QStringLiteral("model"), modelName()},
                                            {QStringLiteral("clean"), typed("boolean")},
                                            {QStringLiteral("problems"), arrayOf(problem)}},
        HeadKeys + QStringList{QStringLiteral("model"), QStringLiteral("clean"),
                               QStringLiteral("problems")});
}

JsonNode infoDocument() {
    return closedObject(
        head(QStringLiteral("q7xctl-info")) +
            QList<QPair<QString, JsonNode>>{{QStringLiteral("port"), typed("string")},
                                            {QStringLiteral("model"), modelName()},
                                            {QStringLiteral("firmware"), typed("string")}},
        HeadKeys + QStringList{QStringLiteral("port"), QStringLiteral("model"),
                               QStringLiteral("firmware")});
}

JsonNode keysDocument() {
    JsonNode type = JsonNode::object();
    type.insert(
        QStringLiteral("enum"),
        strings({typeName(ValueType::Item), typeName(ValueType::Boolean), typeName(ValueType::Text),
                 typeName(ValueType::Integer), typeName(ValueType::Digits)}));
    const JsonNode item = closedObject(
        {{QStringLiteral("value"), anyValue()}, {QStringLiteral("caption"), typed("string")}},
        {QStringLiteral("value"), QStringLiteral("caption")});
    const JsonNode key =
        closedObject({{QStringLiteral("key"), typed("string")},
                      {QStringLiteral("page"), typed("string")},
                      {QStringLiteral("caption"), typed("string")},
                      {QStringLiteral("type"), type},
                      {QStringLiteral("unit"), typed("string")},
                      {QStringLiteral("items"), arrayOf(item)},
                      {QStringLiteral("minimum"), typed("integer")},
                      {QStringLiteral("maximum"), typed("integer")},
                      {QStringLiteral("allowed"), typed("string")},
                      {QStringLiteral("settable"), typed("boolean")},
                      {QStringLiteral("derived"), typed("boolean")}},
                     {QStringLiteral("key"), QStringLiteral("page"), QStringLiteral("caption"),
                      QStringLiteral("type"), QStringLiteral("allowed"), QStringLiteral("settable"),
                      QStringLiteral("derived")});
    const JsonNode model = closedObject(
        {{QStringLiteral("model"), modelName()}, {QStringLiteral("keys"), arrayOf(key)}},
        {QStringLiteral("model"), QStringLiteral("keys")});
    return closedObject(
        head(QStringLiteral("q7xctl-keys")) +
            QList<QPair<QString, JsonNode>>{{QStringLiteral("models"), arrayOf(model)}},
        HeadKeys + QStringList{QStringLiteral("models")});
}

JsonNode errorDocument() {
    JsonNode status = typed("integer");
    status.insert(QStringLiteral("minimum"), 1);
    const JsonNode error = closedObject({{QStringLiteral("status"), status},
                                         {QStringLiteral("messages"), arrayOf(typed("string"))}},
                                        {QStringLiteral("status"), QStringLiteral("messages")});
    return closedObject(head(QStringLiteral("q7xctl-error")) +
                            QList<QPair<QString, JsonNode>>{{QStringLiteral("error"), error}},
                        HeadKeys + QStringList{QStringLiteral("error")});
}

} // namespace

JsonNode jsonSchema(const FieldText &words) {
    JsonNode schema = JsonNode::object();
    schema.insert(QStringLiteral("$schema"),
                  QStringLiteral("https://json-schema.org/draft/2020-12/schema"));
    schema.insert(QStringLiteral("$id"), QStringLiteral("urn:q7xconf:q7xctl:json:2"));
    schema.insert(QStringLiteral("title"), QStringLiteral("JSON printed and read by q7xctl"));
    schema.insert(
        QStringLiteral("description"),
        QStringLiteral("Version 2 of the settings of Q71 and Q72 configurations "
                       "(show --json, import, set --from), the comparison (diff "
                       "--json), the check (check --json), the identification (info "
                       "--json), the keys (keys --json) and the error of a command "
                       "given --json; the member \"format\" names which. See q7xctl(1)."));
    const QList<QPair<QString, JsonNode>> documents{
        {QStringLiteral("settingsDocument"), settingsDocument()},
        {QStringLiteral("diffDocument"), diffDocument()},
        {QStringLiteral("checkDocument"), checkDocument()},
        {QStringLiteral("infoDocument"), infoDocument()},
        {QStringLiteral("keysDocument"), keysDocument()},
        {QStringLiteral("errorDocument"), errorDocument()}};
    JsonNode oneOf = JsonNode::array();
    for (const auto &d : documents)
        oneOf.append(reference(d.first));
    schema.insert(QStringLiteral("oneOf"), oneOf);
    JsonNode defs = JsonNode::object();
    for (const auto &d : documents)
        defs.insert(d.first, d.second);
    SettingsSchema settings(defs);
    defs.insert(QStringLiteral("settingsQ71"), settings.build<ModelOf<image::Q71Settings>>(words));
    defs.insert(QStringLiteral("settingsQ72"), settings.build<ModelOf<image::Q72Settings>>(words));
    for (const image::DeviceModel m : {image::DeviceModel::Q71, image::DeviceModel::Q72}) {
        JsonNode keys = JsonNode::object();
        keys.insert(QStringLiteral("enum"), strings(keysOf(m)));
        defs.insert(m == image::DeviceModel::Q71 ? QStringLiteral("keyQ71")
                                                 : QStringLiteral("keyQ72"),
                    keys);
    }
    schema.insert(QStringLiteral("$defs"), defs);
    return schema;
}

} // namespace q7x::cli
