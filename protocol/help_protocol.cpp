#include "help_protocol.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <limits>
#include <utility>

namespace mensura::channel {

namespace {

// The words, in the order of Word.
constexpr std::array<std::pair<Word, const char*>, 9> kWords{{
    {Word::Places, "places"},
    {Word::Show, "show"},
    {Word::Ping, "ping"},
    {Word::Confined, "confined"},
    {Word::Shown, "shown"},
    {Word::Pong, "pong"},
    {Word::Print, "print"},
    {Word::Open, "open"},
    {Word::PrintSettings, "settings"},
}};

constexpr char kSeparator = ' ';
constexpr char kLineEnd = '\n';
constexpr char kEscape = '%';

const char* Text(Word word) {
    for (const auto& [each, text] : kWords)
        if (each == word) return text;
    return "";
}

// The bytes a field holds as they are; every other byte is escaped.
bool Plain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/' || c == ':';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;  // lower case is not what Escape writes
}

QByteArray Escape(const QByteArray& field) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray escaped;
    escaped.reserve(field.size());
    for (const char c : field) {
        if (Plain(c)) {
            escaped += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        escaped += kEscape;
        escaped += kHex[byte >> 4];
        escaped += kHex[byte & 0xF];
    }
    return escaped;
}

// Only what Escape writes is taken back, so that each value has one spelling.
std::optional<QByteArray> Unescape(const QByteArray& field) {
    QByteArray value;
    value.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (Plain(c)) {
            value += c;
            continue;
        }
        if (c != kEscape || i + 2 >= field.size()) return std::nullopt;
        const int high = HexValue(field[i + 1]);
        const int low = HexValue(field[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        const char byte = static_cast<char>(high * 16 + low);
        if (Plain(byte)) return std::nullopt;
        value += byte;
        i += 2;
    }
    return value;
}

}  // namespace

std::optional<Word> WordOf(QByteArrayView line) {
    const qsizetype end = line.indexOf(kSeparator);
    const QByteArrayView word = end < 0 ? line : line.first(end);
    for (const auto& [each, text] : kWords)
        if (word == QByteArrayView(text)) return each;
    return std::nullopt;
}

namespace detail {

QByteArray Line(Word word, const QByteArrayList& fields) {
    QByteArray line(Text(word));
    for (const QByteArray& field : fields) {
        line += kSeparator;
        line += field;
    }
    line += kLineEnd;
    return line;
}

std::optional<QByteArrayList> Fields(Word word, QByteArrayView line) {
    if (WordOf(line) != word) return std::nullopt;
    QByteArrayList fields = line.toByteArray().split(kSeparator);
    fields.removeFirst();
    return fields;
}

void Put(QByteArrayList& fields, const QByteArray& value) {
    fields << Escape(value);
}

void Put(QByteArrayList& fields, int value) {
    fields << QByteArray::number(value);
}

void Put(QByteArrayList& fields, bool value) {
    fields << QByteArray(value ? "1" : "0");
}

void Put(QByteArrayList& fields, const QByteArrayList& values) {
    for (const QByteArray& value : values) Put(fields, value);
}

bool Take(const QByteArrayList& fields, qsizetype& at, QByteArray& value) {
    if (at >= fields.size()) return false;
    const std::optional<QByteArray> unescaped = Unescape(fields[at++]);
    if (!unescaped) return false;
    value = *unescaped;
    return true;
}

// A number as Put writes it: an optional minus, then digits, no leading zero.
bool Take(const QByteArrayList& fields, qsizetype& at, int& value) {
    if (at >= fields.size()) return false;
    const QByteArray& text = fields[at++];
    const QByteArray digits = text.startsWith('-') ? text.mid(1) : text;
    if (digits.isEmpty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == '0'))
        return false;
    for (const char c : digits)
        if (c < '0' || c > '9') return false;
    const qlonglong number = text.toLongLong();
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max() ||
        text == "-0")
        return false;
    value = static_cast<int>(number);
    return true;
}

bool Take(const QByteArrayList& fields, qsizetype& at, bool& value) {
    if (at >= fields.size() || (fields[at] != "0" && fields[at] != "1")) return false;
    value = fields[at++] == "1";
    return true;
}

bool Take(const QByteArrayList& fields, qsizetype& at, QByteArrayList& values) {
    values.clear();
    while (at < fields.size()) {
        QByteArray value;
        if (!Take(fields, at, value)) return false;
        values << value;
    }
    return true;
}

}  // namespace detail

void LineReader::Append(QByteArrayView bytes) {
    m_pending.append(bytes);
}

std::optional<QByteArray> LineReader::Next() {
    for (;;) {
        const qsizetype end = m_pending.indexOf(kLineEnd, m_scanned);
        if (end < 0) {
            if (m_pending.size() > kMaxLine) {
                m_dropping = true;  // its end, when it comes, ends nothing of ours
                m_pending.clear();
            }
            m_scanned = m_pending.size();
            return std::nullopt;
        }
        QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        m_scanned = 0;
        if (std::exchange(m_dropping, false) || line.size() > kMaxLine) continue;
        return line;
    }
}

}  // namespace mensura::channel
