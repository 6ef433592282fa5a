#include "files/RtfText.h"

#include "files/RtfControlWords.h"
#include "files/Windows1252.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr qsizetype kMaxWordLength = 32; // longer runs of letters are garbage, not words
constexpr int kMaxParameter = 1 << 30;   // parameters are clamped, never overflow
constexpr int kMaxFallbackLength = 64;
// Enclosing groups are saved as runs of equal states, so a flood of "{" costs one entry. Past
// this many runs (only garbage gets there) groups share their parent's state, to bound memory.
constexpr qsizetype kMaxSavedRuns = 1 << 20;
constexpr int kWindows1252 = 1252;
constexpr int kLatin1 = 28591;

struct GroupState {
    bool hidden = false;    // inside a group whose text is not shown
    int fallbackLength = 1; // characters after each \uN that stand in for it (\ucN)

    bool operator==(const GroupState&) const = default;
};

struct SavedRun {
    GroupState state;
    qsizetype groups = 1;
};

struct ControlWord {
    std::string_view name; // empty for garbage
    std::optional<int> parameter;
};

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<uchar> HexDigitValue(char c) {
    if (IsDigit(c))
        return static_cast<uchar>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<uchar>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<uchar>(c - 'A' + 10);
    return std::nullopt;
}

// \uN takes N as a signed 16-bit number: characters above U+7FFF are written negative.
char16_t UnicodeFromParameter(int n) {
    if (n < 0)
        n += 0x10000;
    if (n < 0 || n > 0xFFFF)
        return QChar::ReplacementCharacter;
    return static_cast<char16_t>(n);
}

// Reads the document front to back once, keeping the state of enclosing groups on an explicit
// stack: no recursion, so no nesting can exhaust the call stack.
class RtfReader {
public:
    explicit RtfReader(QByteArrayView rtf) : rtf_(rtf) {}
    QString Read() &&;

private:
    bool AtEnd() const { return pos_ >= rtf_.size(); }
    void OpenGroup();
    void CloseGroup();
    void ReadControl();
    void ReadControlSymbol(char symbol);
    void ReadHexEscape();
    ControlWord ReadControlWord();
    std::optional<int> ReadParameter();
    void Apply(const ControlWord& word);
    void SkipBinary(int length);
    void TakeByte(uchar byte);
    void TakeCharacter(char16_t c);
    void Emit(char16_t c);
    void EmitLineBreak();
    char16_t CharacterForByte(uchar byte) const;

    QByteArrayView rtf_;
    qsizetype pos_ = 0;
    GroupState group_;
    std::vector<SavedRun> enclosing_;
    qsizetype unsavedDepth_ = 0;
    int fallbackToSkip_ = 0;
    int codePage_ = kWindows1252;
    QString text_;
};

QString RtfReader::Read() && {
    while (!AtEnd()) {
        const char c = rtf_[pos_++];
        if (c == '{')
            OpenGroup();
        else if (c == '}')
            CloseGroup();
        else if (c == '\\')
            ReadControl();
        else
            TakeByte(static_cast<uchar>(c));
    }
    return std::move(text_);
}

// A fallback never reaches past the group it stands in.
void RtfReader::OpenGroup() {
    fallbackToSkip_ = 0;
    if (!enclosing_.empty() && enclosing_.back().state == group_)
        ++enclosing_.back().groups;
    else if (std::ssize(enclosing_) < kMaxSavedRuns)
        enclosing_.push_back(SavedRun{group_});
    else
        ++unsavedDepth_;
}

void RtfReader::CloseGroup() {
    fallbackToSkip_ = 0;
    if (unsavedDepth_ > 0) {
        --unsavedDepth_;
    } else if (!enclosing_.empty()) { // an unmatched "}" is ignored
        group_ = enclosing_.back().state;
        if (--enclosing_.back().groups == 0)
            enclosing_.pop_back();
    }
}

void RtfReader::ReadControl() {
    if (AtEnd())
        return;
    if (IsAsciiLetter(rtf_[pos_]))
        Apply(ReadControlWord());
    else
        ReadControlSymbol(rtf_[pos_++]);
}

void RtfReader::ReadControlSymbol(char symbol) {
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        TakeCharacter(static_cast<char16_t>(symbol));
        break;
    case '\'':
        ReadHexEscape();
        break;
    case '~':
        TakeCharacter(u'\u00A0');
        break;
    case '_':
        TakeCharacter(u'\u2011');
        break;
    case '*': // a destination that readers which do not know it must skip
        group_.hidden = true;
        break;
    case '\r':
    case '\n': // a backslash before a line end is a paragraph mark
        EmitLineBreak();
        break;
    default: // \- (optional hyphen), \| and \: (index marks) and garbage show nothing
        break;
    }
}

void RtfReader::ReadHexEscape() {
    if (pos_ + 2 > rtf_.size())
        return;
    const std::optional<uchar> high = HexDigitValue(rtf_[pos_]);
    const std::optional<uchar> low = HexDigitValue(rtf_[pos_ + 1]);
    if (!high || !low)
        return; // malformed: the escape is dropped and what follows read as usual
    pos_ += 2;
    TakeCharacter(CharacterForByte(static_cast<uchar>(*high << 4 | *low)));
}

ControlWord RtfReader::ReadControlWord() {
    const qsizetype start = pos_;
    while (!AtEnd() && IsAsciiLetter(rtf_[pos_]))
        ++pos_;
    const qsizetype length = pos_ - start;
    ControlWord word;
    if (length <= kMaxWordLength)
        word.name = std::string_view(rtf_.data() + start, static_cast<size_t>(length));
    word.parameter = ReadParameter();
    if (!AtEnd() && rtf_[pos_] == ' ') // the delimiter belongs to the word
        ++pos_;
    return word;
}

std::optional<int> RtfReader::ReadParameter() {
    const bool negative =
        !AtEnd() && rtf_[pos_] == '-' && pos_ + 1 < rtf_.size() && IsDigit(rtf_[pos_ + 1]);
    if (negative)
        ++pos_;
    if (AtEnd() || !IsDigit(rtf_[pos_]))
        return std::nullopt;
    int value = 0;
    for (; !AtEnd() && IsDigit(rtf_[pos_]); ++pos_)
        value = static_cast<int>(
            std::min<qint64>(qint64{value} * 10 + (rtf_[pos_] - '0'), kMaxParameter));
    return negative ? -value : value;
}

void RtfReader::Apply(const ControlWord& word) {
    const RtfWordMeaning meaning = LookUpRtfWord(word.name);
    switch (meaning.role) {
    case RtfWordRole::Formatting:
        break;
    case RtfWordRole::Destination:
        group_.hidden = true;
        break;
    case RtfWordRole::LineBreak:
        EmitLineBreak();
        break;
    case RtfWordRole::Character:
        TakeCharacter(meaning.character);
        break;
    case RtfWordRole::UnicodeChar:
        if (word.parameter) {
            Emit(UnicodeFromParameter(*word.parameter));
            fallbackToSkip_ = group_.fallbackLength;
        }
        break;
    case RtfWordRole::FallbackLength:
        group_.fallbackLength = std::clamp(word.parameter.value_or(1), 0, kMaxFallbackLength);
        break;
    case RtfWordRole::CodePage:
        codePage_ = word.parameter.value_or(kWindows1252);
        break;
    case RtfWordRole::Binary:
        SkipBinary(word.parameter.value_or(0));
        break;
    }
}

// Binary data (of pictures and objects) is never text, whatever group it stands in.
void RtfReader::SkipBinary(int length) {
    pos_ += std::clamp<qsizetype>(length, 0, rtf_.size() - pos_);
}

// Line ends and other control bytes in the source only lay it out; a literal tab is a tab.
void RtfReader::TakeByte(uchar byte) {
    if (byte < 0x20 && byte != '\t')
        return;
    TakeCharacter(CharacterForByte(byte));
}

// A character of the document, unless it is part of the fallback of the last \uN.
void RtfReader::TakeCharacter(char16_t c) {
    if (fallbackToSkip_ > 0) {
        --fallbackToSkip_;
        return;
    }
    Emit(c);
}

void RtfReader::Emit(char16_t c) {
    if (!group_.hidden)
        text_.append(QChar(c));
}

void RtfReader::EmitLineBreak() {
    Emit(u'\r');
    Emit(u'\n');
}

// Only Windows-1252 and Latin-1 are known; other code pages read as Windows-1252, which keeps
// ASCII right and every byte visible.
char16_t RtfReader::CharacterForByte(uchar byte) const {
    return codePage_ == kLatin1 ? char16_t{byte} : Windows1252ToUnicode(byte);
}

} // namespace

QString RtfToPlainText(QByteArrayView rtf) {
    return RtfReader(rtf).Read();
}
