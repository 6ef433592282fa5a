#pragma once

#include <QStringView>
#include <QtGlobal>

#include <cstdint>
#include <vector>

// The three ways a file may end a line.
enum class LineBreak : std::uint8_t { CrLf, Lf, Cr };

// What text typed on this system ends its lines with.
#ifdef Q_OS_WIN
inline constexpr LineBreak kSystemLineBreak = LineBreak::CrLf;
#else
inline constexpr LineBreak kSystemLineBreak = LineBreak::Lf;
#endif

// The units a line break is written as.
QStringView LineBreakUnits(LineBreak lineBreak);

// The kind of each line break of a text, in order, in two bits a break: what a file that mixes
// kinds needs remembered so that its text can be written back with every break as it was. A pane
// shows every break as CR LF, and keeps a line index of four bytes a line beside this.
class LineBreakKinds {
public:
    // What `breaks` take, at most, in bytes.
    static qint64 MemoryBytesFor(qint64 breaks);

    void Reserve(qsizetype breaks);
    void Append(LineBreak kind);
    // A CR noted alone turns out to be the first half of a CR LF.
    void ChangeLast(LineBreak kind);
    qsizetype Count() const { return count_; }
    LineBreak At(qsizetype i) const;
    qint64 MemoryBytes() const;

private:
    static constexpr qsizetype kPerWord = 32;

    std::vector<std::uint64_t> words_;
    qsizetype count_ = 0;
};
