#include "workbook/batch/RepeatedKeys.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

namespace {

// Walks the text one token at a time. Every step moves on or stops at the end, so text that is
// not JSON after all ends the walk instead of running past it.
class Walk {
public:
    explicit Walk(QByteArrayView text) : m_text(text) {}

    std::vector<std::optional<QString>> reports() {
        skipBlanks();
        if (at('{')) return {firstRepeatInObject()};
        std::vector<std::optional<QString>> found;
        if (!at('[')) return found;
        ++m_pos;
        while (skipBlanks(), m_pos < m_text.size() && !at(']')) {
            found.push_back(at('{') ? firstRepeatInObject() : (skipValue(), std::nullopt));
            skipBlanks();
            if (at(',')) ++m_pos;
        }
        return found;
    }

private:
    bool at(char c) const { return m_pos < m_text.size() && m_text[m_pos] == c; }

    void skipBlanks() {
        while (m_pos < m_text.size() && (at(' ') || at('\t') || at('\n') || at('\r'))) ++m_pos;
    }

    // A string from its opening quote to its closing one, quotes included.
    QByteArrayView stringToken() {
        const qsizetype start = m_pos++;
        while (m_pos < m_text.size() && !at('"')) m_pos += at('\\') ? 2 : 1;
        m_pos = std::min(m_pos + 1, m_text.size());
        return m_text.sliced(start, m_pos - start);
    }

    // One value of any kind, nested ones counted rather than followed, so depth costs no stack.
    void skipValue() {
        qsizetype depth = 0;
        do {
            skipBlanks();
            if (m_pos >= m_text.size()) return;
            switch (m_text[m_pos]) {
            case '"': stringToken(); break;
            case '{':
            case '[': ++depth, ++m_pos; break;
            case '}':
            case ']': --depth, ++m_pos; break;
            case ',':
            case ':': ++m_pos; break;
            default:
                while (m_pos < m_text.size() && !at(',') && !at(']') && !at('}') && !at(' ') && !at('\n') &&
                       !at('\t') && !at('\r'))
                    ++m_pos;
            }
        } while (depth > 0);
    }

    std::optional<QString> firstRepeatInObject() {
        ++m_pos;
        QSet<QString> keys;
        std::optional<QString> repeated;
        while (skipBlanks(), at('"')) {
            const QString key = decoded(stringToken());
            if (!repeated && !insert(keys, key)) repeated = key;
            skipBlanks();
            if (at(':')) ++m_pos;
            skipValue();
            skipBlanks();
            if (at(',')) ++m_pos;
        }
        if (at('}')) ++m_pos;
        return repeated;
    }

    static bool insert(QSet<QString>& keys, const QString& key) {
        const qsizetype before = keys.size();
        keys.insert(key);
        return keys.size() > before;
    }

    // The key as the JSON reader reads it; most keys have no escapes and are their own bytes.
    static QString decoded(QByteArrayView token) {
        const QByteArrayView inner = token.size() >= 2 ? token.sliced(1, token.size() - 2) : QByteArrayView();
        if (!inner.contains('\\')) return QString::fromUtf8(inner);
        const QByteArray array = "[" + token.toByteArray() + "]";
        return QJsonDocument::fromJson(array).array().at(0).toString();
    }

    QByteArrayView m_text;
    qsizetype m_pos = 0;
};

}  // namespace

std::vector<std::optional<QString>> FirstRepeatedKeys(QByteArrayView json) { return Walk(json).reports(); }
