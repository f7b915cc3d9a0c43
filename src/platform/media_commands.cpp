#include "platform/media_commands.h"

#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <array>
#include <optional>

#include "platform/log.h"

namespace leafsong {

namespace {

struct Word {
    QString text;  // without its quotes
    qsizetype begin = 0;
    qsizetype end = 0;  // one past the last character, closing quote included
    bool quoted = false;
};

// Blank-separated words; a word that starts with a double quote runs to the next one. Nothing
// when a quote is left open.
std::optional<QList<Word>> Split(const QString& s) {
    QList<Word> words;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        if (s[i].isSpace()) {
            ++i;
            continue;
        }
        Word w;
        w.begin = i;
        if (s[i] == u'"') {
            const qsizetype close = s.indexOf(u'"', i + 1);
            if (close < 0) {
                return std::nullopt;
            }
            w.text = s.mid(i + 1, close - i - 1);
            w.quoted = true;
            i = close + 1;
        } else {
            while (i < n && !s[i].isSpace()) {
                ++i;
            }
            w.text = s.mid(w.begin, i - w.begin);
        }
        w.end = i;
        words.append(w);
    }
    return words;
}

bool Is(const Word& w, QLatin1StringView keyword) {
    return !w.quoted && w.text.compare(keyword, Qt::CaseInsensitive) == 0;
}

constexpr std::array kDeviceTypes = {
    QLatin1StringView("sequencer"), QLatin1StringView("waveaudio"), QLatin1StringView("mpegvideo"),
    QLatin1StringView("avivideo"),  QLatin1StringView("cdaudio"),
};

bool IsKnownType(const QString& type) {
    for (QLatin1StringView t : kDeviceTypes) {
        if (type.compare(t, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

bool IsVideoType(const QString& type) {
    return type.compare(QLatin1StringView("mpegvideo"), Qt::CaseInsensitive) == 0 ||
           type.compare(QLatin1StringView("avivideo"), Qt::CaseInsensitive) == 0;
}

struct OpenOptions {
    QString type;
    QString alias;
    std::optional<QString> style;
};

// The keyword-value pairs of an open command from word `from` on; nothing unless they are well
// formed, none repeated, with both a type and an alias.
std::optional<OpenOptions> ParseOpenOptions(const QList<Word>& words, qsizetype from) {
    OpenOptions o;
    bool hasType = false;
    bool hasAlias = false;
    for (qsizetype i = from; i < words.size(); i += 2) {
        if (i + 1 >= words.size()) {
            return std::nullopt;
        }
        const QString& value = words[i + 1].text;
        if (Is(words[i], QLatin1StringView("type")) && !hasType) {
            o.type = value;
            hasType = true;
        } else if (Is(words[i], QLatin1StringView("alias")) && !hasAlias) {
            o.alias = value;
            hasAlias = true;
        } else if (Is(words[i], QLatin1StringView("style")) && !o.style) {
            o.style = value;
        } else {
            return std::nullopt;
        }
    }
    if (!hasType || !hasAlias || o.alias.isEmpty()) {
        return std::nullopt;
    }
    return o;
}

bool IsStyle(const QString& style) {
    for (const char* s : {"overlapped", "popup", "child"}) {
        if (style.compare(QLatin1StringView(s), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

struct OpenRequest {
    QString element;  // the file
    OpenOptions options;
};

// An open command's file and options. An unquoted file name runs up to the first keyword after
// which the rest of the command reads as well-formed options, so it may hold blanks (and even
// the word "type").
std::optional<OpenRequest> ParseOpen(const QList<Word>& words, const QString& command) {
    if (words.size() < 2) {
        return std::nullopt;
    }
    if (words[1].quoted) {
        std::optional<OpenOptions> o = ParseOpenOptions(words, 2);
        if (!o || words[1].text.isEmpty()) {
            return std::nullopt;
        }
        return OpenRequest{words[1].text, *o};
    }
    for (qsizetype k = 2; k < words.size(); ++k) {
        if (std::optional<OpenOptions> o = ParseOpenOptions(words, k)) {
            const qsizetype begin = words[1].begin;
            return OpenRequest{command.mid(begin, words[k - 1].end - begin), *o};
        }
    }
    return std::nullopt;
}

}  // namespace

MediaCommands::MediaCommands(AudioBackend& backend) : backend_(backend) {
    backend_.SetEndNotice([this] { OnBackendEnd(); });
}

MediaCommands::~MediaCommands() {
    if (!alias_.isEmpty()) {
        backend_.Stop();
    }
    backend_.SetEndNotice({});
}

int MediaCommands::Send(const QString& command, QString* reply) {
    QString answer;
    const int code = static_cast<int>(Run(command, answer));
    if (code != 0) {
        answer.clear();
    }
    QString line = u'"' + command + QStringLiteral("\" -> ") + QString::number(code);
    if (!answer.isEmpty()) {
        line += u' ' + answer;
    }
    qCDebug(lcMedia, "%s", qUtf8Printable(line));
    if (reply) {
        *reply = answer;
    }
    return code;
}

MediaError MediaCommands::Run(const QString& command, QString& reply) {
    const std::optional<QList<Word>> split = Split(command);
    if (!split) {
        return MediaError::BadSyntax;
    }
    const QList<Word>& words = *split;
    if (words.isEmpty() || words[0].quoted) {
        return MediaError::UnknownCommand;
    }
    const Word& verb = words[0];
    if (Is(verb, QLatin1StringView("open"))) {
        const std::optional<OpenRequest> open = ParseOpen(words, command);
        if (!open) {
            return MediaError::BadSyntax;
        }
        const OpenOptions& o = open->options;
        if (!IsKnownType(o.type)) {
            return MediaError::UnknownType;
        }
        if (o.style && (!IsVideoType(o.type) || !IsStyle(*o.style))) {
            return MediaError::BadSyntax;
        }
        if (!alias_.isEmpty()) {
            return MediaError::AliasInUse;
        }
        if (!QFileInfo(open->element).isFile()) {
            return MediaError::FileNotFound;
        }
        if (!backend_.Open(open->element)) {
            return MediaError::CannotOpen;
        }
        alias_ = o.alias;
        ++generation_;
        return MediaError::None;
    }
    const bool known = Is(verb, QLatin1StringView("set")) || Is(verb, QLatin1StringView("play")) ||
                       Is(verb, QLatin1StringView("close")) ||
                       Is(verb, QLatin1StringView("status"));
    if (!known) {
        return MediaError::UnknownCommand;
    }
    if (words.size() < 2) {
        return MediaError::BadSyntax;
    }
    if (alias_.isEmpty() || words[1].text.compare(alias_, Qt::CaseInsensitive) != 0) {
        return MediaError::UnknownAlias;
    }
    const qsizetype rest = words.size() - 2;
    if (Is(verb, QLatin1StringView("close"))) {
        if (rest != 0) {
            return MediaError::BadSyntax;
        }
        CloseDevice();
        return MediaError::None;
    }
    if (Is(verb, QLatin1StringView("play"))) {
        if (rest != 0) {
            return MediaError::Unsupported;
        }
        if (!backend_.IsPlaying() && !backend_.Play()) {
            return MediaError::CannotPlay;
        }
        return MediaError::None;
    }
    if (Is(verb, QLatin1StringView("status"))) {
        if (rest != 1) {
            return MediaError::BadSyntax;
        }
        if (!Is(words[2], QLatin1StringView("mode"))) {
            return MediaError::Unsupported;
        }
        reply = backend_.IsPlaying() ? QStringLiteral("playing") : QStringLiteral("stopped");
        return MediaError::None;
    }
    // set: the time format is the only setting, and milliseconds are all we count in.
    if (rest == 0) {
        return MediaError::BadSyntax;
    }
    if (rest == 3 && Is(words[2], QLatin1StringView("time")) &&
        Is(words[3], QLatin1StringView("format")) &&
        (Is(words[4], QLatin1StringView("milliseconds")) ||
         Is(words[4], QLatin1StringView("ms")))) {
        return MediaError::None;
    }
    return MediaError::Unsupported;
}

void MediaCommands::CloseDevice() {
    backend_.Stop();
    alias_.clear();
    ++generation_;
}

void MediaCommands::OnBackendEnd() {
    qCDebug(lcMedia) << "tune ended";
    const quint64 generation = generation_;
    QTimer::singleShot(0, &context_, [this, generation] {
        if (generation == generation_ && endNotice_) {
            endNotice_();
        }
    });
}

}  // namespace leafsong
