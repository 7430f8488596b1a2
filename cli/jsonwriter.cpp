#include "cli/jsonwriter.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

#include <cmath>

namespace q7x::cli {

namespace {

void number(QByteArray &out, double v) {
    // Every number of a configuration is an integer or a few tenths; 2^53 keeps integers exact.
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 9007199254740992.0)
        out += QByteArray::number(qint64(v));
    else if (std::isfinite(v))
        out += QString::number(v, 'g', QLocale::FloatingPointShortest).toLatin1();
    else
        out += "null";
}

void indent(QByteArray &out, int depth) { out += QByteArray(4 * depth, ' '); }

} // namespace

QByteArray jsonString(const QString &text) {
    QByteArray out;
    out.reserve(text.size() + 2);
    out += '"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (u < 0x20 || u == 0x7F)
                out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0')).toLatin1();
            else
                out += QString(c).toUtf8();
        }
    }
    out += '"';
    return out;
}

QString jsonLiteral(const QJsonValue &value) {
    QByteArray text = JsonNode(value).toJson();
    text.chop(1);
    return QString::fromUtf8(text);
}

JsonNode &JsonNode::operator[](const QString &key) {
    m_kind = Kind::Object;
    for (auto &member : m_members)
        if (member.first == key)
            return member.second;
    m_members.append({key, JsonNode()});
    return m_members.last().second;
}

QByteArray JsonNode::toJson() const {
    QByteArray out;
    write(out, 0);
    out += '\n';
    return out;
}

void JsonNode::write(QByteArray &out, int depth) const {
    switch (m_kind) {
    case Kind::Object:
        if (m_members.isEmpty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        for (qsizetype i = 0; i < m_members.size(); ++i) {
            indent(out, depth + 1);
            out += jsonString(m_members[i].first);
            out += ": ";
            m_members[i].second.write(out, depth + 1);
            out += i + 1 < m_members.size() ? ",\n" : "\n";
        }
        indent(out, depth);
        out += '}';
        return;
    case Kind::Array:
        if (m_items.isEmpty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        for (qsizetype i = 0; i < m_items.size(); ++i) {
            indent(out, depth + 1);
            m_items[i].write(out, depth + 1);
            out += i + 1 < m_items.size() ? ",\n" : "\n";
        }
        indent(out, depth);
        out += ']';
        return;
    case Kind::Value:
        break;
    }
    switch (m_value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        out += "null";
        break;
    case QJsonValue::Bool:
        out += m_value.toBool() ? "true" : "false";
        break;
    case QJsonValue::Double:
        number(out, m_value.toDouble());
        break;
    case QJsonValue::String:
        out += jsonString(m_value.toString());
        break;
    case QJsonValue::Array: {
        JsonNode items = array();
        for (const QJsonValue item : m_value.toArray())
            items.append(item);
        items.write(out, depth);
        break;
    }
    case QJsonValue::Object: {
        JsonNode members = object();
        const QJsonObject o = m_value.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            members.insert(it.key(), it.value());
        members.write(out, depth);
        break;
    }
    }
}

} // namespace q7x::cli
