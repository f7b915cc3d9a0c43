#include "platform/profile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringView>

#include "platform/atomic_file.h"

namespace leafsong {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView Trimmed(QByteArrayView v) {
    qsizetype b = 0;
    qsizetype e = v.size();
    while (b < e && IsBlank(v[b])) {
        ++b;
    }
    while (e > b && IsBlank(v[e - 1])) {
        --e;
    }
    return v.sliced(b, e - b);
}

QString TrimmedName(const QString& name) {
    qsizetype b = 0;
    qsizetype e = name.size();
    while (b < e && (name[b] == u' ' || name[b] == u'\t')) {
        ++b;
    }
    while (e > b && (name[e - 1] == u' ' || name[e - 1] == u'\t')) {
        --e;
    }
    return name.mid(b, e - b);
}

// Names are compared as text, ignoring case. A name far longer than the wanted one (a megabyte
// of garbage) is rejected before it is decoded: UTF-8 needs at most 3 bytes per UTF-16 unit.
bool NameMatches(QByteArrayView bytes, const QString& wanted) {
    if (bytes.size() > 3 * wanted.size()) {
        return false;
    }
    return QString::fromUtf8(bytes).compare(wanted, Qt::CaseInsensitive) == 0;
}

enum class LineKind { Blank, Section, Key };

// One line of the content: [begin, textEnd) is its text, [textEnd, end) its line ending.
struct Line {
    qsizetype begin = 0;
    qsizetype textEnd = 0;
    qsizetype end = 0;
    LineKind kind = LineKind::Blank;
    QByteArrayView name;   // section or key name, blanks trimmed
    QByteArrayView value;  // text after the first "=" of a key line
};

class LineReader {
public:
    explicit LineReader(const QByteArray& content) : content_(content) {}

    bool Next(Line& line) {
        if (pos_ >= content_.size()) {
            return false;
        }
        const QByteArrayView all(content_);
        line = Line{};
        line.begin = pos_;
        const qsizetype nl = content_.indexOf('\n', pos_);
        line.end = nl < 0 ? content_.size() : nl + 1;
        line.textEnd = nl < 0 ? content_.size() : nl;
        if (line.textEnd > line.begin && all[line.textEnd - 1] == '\r') {
            --line.textEnd;
        }
        QByteArrayView text = all.sliced(line.begin, line.textEnd - line.begin);
        // Editors on other systems start a UTF-8 file with a byte order mark.
        if (pos_ == 0 && text.startsWith("\xEF\xBB\xBF")) {
            text = text.sliced(3);
        }
        pos_ = line.end;

        const QByteArrayView trimmed = Trimmed(text);
        if (trimmed.isEmpty()) {
            line.kind = LineKind::Blank;
        } else if (trimmed[0] == '[') {
            line.kind = LineKind::Section;
            QByteArrayView inside = trimmed.sliced(1);
            const qsizetype close = inside.lastIndexOf(']');
            if (close >= 0) {
                inside = inside.first(close);
            }
            line.name = Trimmed(inside);
        } else {
            line.kind = LineKind::Key;
            const qsizetype eq = trimmed.indexOf('=');
            if (eq < 0) {
                line.name = trimmed;
            } else {
                line.name = Trimmed(trimmed.first(eq));
                // Take the value from the untrimmed text: its trailing blanks are dropped later,
                // after the cut at a NUL.
                const qsizetype valueStart = (trimmed.data() - text.data()) + eq + 1;
                line.value = text.sliced(valueStart);
            }
        }
        return true;
    }

private:
    const QByteArray& content_;
    qsizetype pos_ = 0;
};

// Where a key is, or would go, in the content.
struct KeyPlace {
    bool sectionFound = false;
    bool keyFound = false;
    Line key;          // the key's line when found
    Line lastContent;  // the last non-blank line of the section (its header at least)
};

// Only the first section of that name counts, and the first key of that name in it.
KeyPlace FindKey(const QByteArray& content, const QString& section, const QString& key) {
    const QString wantedSection = TrimmedName(section);
    const QString wantedKey = TrimmedName(key);
    KeyPlace place;
    LineReader reader(content);
    Line line;
    while (reader.Next(line)) {
        if (!place.sectionFound) {
            if (line.kind == LineKind::Section && NameMatches(line.name, wantedSection)) {
                place.sectionFound = true;
                place.lastContent = line;
            }
            continue;
        }
        if (line.kind == LineKind::Section) {
            break;
        }
        if (line.kind == LineKind::Blank) {
            continue;
        }
        place.lastContent = line;
        if (NameMatches(line.name, wantedKey)) {
            place.keyFound = true;
            place.key = line;
            break;
        }
    }
    return place;
}

QString DefaultWord() {
    return QString::fromLatin1(kDefaultWord);
}

QByteArray ValueOf(QByteArrayView raw) {
    qsizetype b = 0;
    while (b < raw.size() && IsBlank(raw[b])) {
        ++b;
    }
    QByteArrayView v = raw.sliced(b);
    const qsizetype nul = v.indexOf('\0');
    if (nul >= 0) {
        v = v.first(nul);
    }
    while (!v.isEmpty() && (IsBlank(v.back()) || v.back() == '\r')) {
        v.chop(1);
    }
    if (v.size() > kMaxProfileValue) {
        qsizetype cut = kMaxProfileValue;
        // Back off to the start of a UTF-8 sequence so no character is split.
        while (cut > 0 && (static_cast<unsigned char>(v[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        v = v.first(cut);
    }
    return v.toByteArray();
}

// A value cannot hold a line break: it would start a new line (or section) in the file.
QByteArray StorableValue(QByteArray bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || bytes[i] == '\r' || bytes[i] == '\0') {
            bytes.truncate(i);
            break;
        }
    }
    return bytes;
}

}  // namespace

QByteArray ReadProfileBytes(const QByteArray& content, const QString& section, const QString& key) {
    const KeyPlace place = FindKey(content, section, key);
    return place.keyFound ? ValueOf(place.key.value) : QByteArray();
}

QString ReadProfileText(const QByteArray& content, const QString& section, const QString& key) {
    const QByteArray value = ReadProfileBytes(content, section, key);
    return value.isEmpty() ? DefaultWord() : QString::fromUtf8(value);
}

QString ReadProfile(const QString& file, const QString& section, const QString& key) {
    return ReadProfileText(ReadProfileFile(file).value_or(QByteArray()), section, key);
}

// Only plain files are read: a FIFO would block and a device never end. A huge file is refused
// from its size alone: reading 2 GB stalled the album for many seconds.
std::optional<QByteArray> ReadProfileFile(const QString& file, QString* error) {
    const QFileInfo info(file);
    if (!info.exists()) {
        return QByteArray();
    }
    QString reason = QStringLiteral("not a plain file");
    if (info.isFile() && info.size() > kMaxProfileSize) {
        reason = QStringLiteral("larger than 1 MiB");
    } else if (info.isFile()) {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly)) {
            QByteArray content = f.readAll();
            if (f.error() == QFileDevice::NoError) {
                return content;
            }
        }
        reason = f.errorString();
    }
    if (error) {
        *error = reason;
    }
    return std::nullopt;
}

QByteArray WriteProfileText(const QByteArray& content, const QString& section, const QString& key,
                            const QString& value) {
    return WriteProfileBytes(content, section, key, value.toUtf8());
}

QByteArray WriteProfileBytes(const QByteArray& content, const QString& section, const QString& key,
                             const QByteArray& value) {
    const QByteArray entry = TrimmedName(key).toUtf8() + '=' + StorableValue(value);
    const KeyPlace place = FindKey(content, section, key);
    QByteArray out = content;
    if (place.keyFound) {
        out.replace(place.key.begin, place.key.textEnd - place.key.begin, entry);
        return out;
    }
    if (place.sectionFound) {
        const Line& last = place.lastContent;
        QByteArray insert;
        if (content.at(last.end - 1) != '\n') {  // the last line, unfinished
            insert += '\n';
        }
        insert += entry + '\n';
        out.insert(last.end, insert);
        return out;
    }
    if (!out.isEmpty() && !out.endsWith('\n')) {
        out += '\n';
    }
    out += '[' + TrimmedName(section).toUtf8() + "]\n" + entry + '\n';
    return out;
}

bool WriteProfile(const QString& file, const QString& section, const QString& key,
                  const QString& value, QString* error) {
    const std::optional<QByteArray> content = ReadProfileFile(file, error);
    return content &&
           WriteFileAtomically(file, WriteProfileText(*content, section, key, value), error);
}

}  // namespace leafsong
