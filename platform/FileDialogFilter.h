#pragma once

#include <QString>
#include <QStringList>

// Whether the pattern "*.*" matches names without a dot. Windows' own dialogs let it match every
// file; everywhere else it would hide files such as "README".
enum class StarDotStar { MatchesEveryFile, NeedsADot };

#ifdef Q_OS_WIN
inline constexpr StarDotStar kPlatformStarDotStar = StarDotStar::MatchesEveryFile;
#else
inline constexpr StarDotStar kPlatformStarDotStar = StarDotStar::NeedsADot;
#endif

// Turns a filter of description and pattern pairs, each followed by "|"
// ("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"), into Qt name filters of the form
// "Description (patterns)". Shown with QFileDialog::HideNameFilterDetails, the user sees each
// description exactly as given while the dialog applies its patterns. Several patterns in one
// field are separated by ";". A description left without a pattern is dropped.
QStringList QtNameFilters(const QString& filter, StarDotStar rule = kPlatformStarDotStar);

// Which of `nameFilters` a dialog reports as chosen. Dialogs report either the whole name filter
// or, hiding the details, only its description. -1 when none matches.
qsizetype NameFilterIndex(const QStringList& nameFilters, const QString& chosen);
