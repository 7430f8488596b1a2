#pragma once
// JSON written with its members in the order they were added. QJsonObject sorts its keys as
// strings ("blitzCodes.1", ".10", ".11" … ".2"); the settings are printed in the window's order
// instead, members of rows in their numbers' order, so that a person reading or editing the file
// finds them where the window has them.
#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <type_traits>

namespace q7x::cli {

class JsonNode {
  public:
    JsonNode() = default;
    // Any value QJsonValue takes (a text, a number, true, an array …) is a node.
    template <class T, class = std::enable_if_t<std::is_constructible_v<QJsonValue, const T &> &&
                                                !std::is_same_v<T, JsonNode>>>
    JsonNode(const T &value) : m_value(QJsonValue(value)) {} // NOLINT(google-explicit-constructor)
    static JsonNode object() { return JsonNode(Kind::Object); }
    static JsonNode array() { return JsonNode(Kind::Array); }

    bool isObject() const { return m_kind == Kind::Object; }
    // The member `key` of an object, added at the end when it is not there yet.
    JsonNode &operator[](const QString &key);
    // Adds or replaces a member; a new one goes at the end.
    void insert(const QString &key, const JsonNode &value) { (*this)[key] = value; }
    void append(const JsonNode &item) { m_items.append(item); }

    // Four-space indents as QJsonDocument::Indented writes them, numbers without a fraction as
    // integers, text as UTF-8.
    QByteArray toJson() const;

  private:
    enum class Kind { Value, Object, Array };
    explicit JsonNode(Kind kind) : m_kind(kind) {}
    void write(QByteArray &out, int depth) const;

    Kind m_kind = Kind::Value;
    QJsonValue m_value;
    QList<QPair<QString, JsonNode>> m_members;
    QList<JsonNode> m_items;
};

// A JSON string literal of `text`, quotes included.
QByteArray jsonString(const QString &text);
// A value as JSON writes it: "text", 20, 0.5, true, null.
QString jsonLiteral(const QJsonValue &value);

} // namespace q7x::cli
