// The limits of the volume formats that the packer checks before writing anything. Each check
// returns an Italian sentence describing what is wrong, or an empty text when the value fits.
#pragma once

#include <QString>

namespace cvx::pack::limits {

inline constexpr int kMaxHeadingChars = 63;   // stored with a final NUL in a 64-character record
inline constexpr int kMaxFirstNumber = 32767; // the viewer keeps it in a 16-bit integer
inline constexpr int kMaxPageNumber = 9999;   // four characters of a page label
inline constexpr int kMaxSheetNumber = 999;   // three digits and the side letter
inline constexpr int kMinJpegQuality = 1;
inline constexpr int kMaxJpegQuality = 100;

// A heading text: at most 63 Windows-1252 characters, no control character but the carriage
// return that breaks its line.
[[nodiscard]] QString headingProblem(const QString& text);

// A book label: 1 to 49 Windows-1252 characters, no control character, not blank, and not
// preceded by as many blanks as it has characters (the viewer takes such a record for blank).
[[nodiscard]] QString labelProblem(const QString& label);

// Numbering kind 0 (sheets), 1 (pages) or 2 (two-page openings).
[[nodiscard]] QString kindProblem(int kind);

// Side of the first page: one letter, D for right, another letter for left.
[[nodiscard]] QString sideProblem(const QString& side);

// First number: 0 to 32767.
[[nodiscard]] QString firstNumberProblem(int firstNumber);

// Every label of a book of `count` entries fits its four characters without being cut. Label
// numbers grow with the entry, so the last one is the largest.
[[nodiscard]] QString labelWidthProblem(int kind, const QString& side, int firstNumber, int count);

// True when the viewer's search for a typed page number finds the labels of a book of
// two-page openings: only with first number 1 on the right or 0 on the left.
[[nodiscard]] bool openingsLookupAgrees(const QString& side, int firstNumber);

// Working-folder name: 1 to 8 Windows-1252 characters that, padded with blanks to 8, can name
// a folder.
[[nodiscard]] QString workFolderProblem(const QString& name);

// The name padded with blanks to eight characters.
[[nodiscard]] QString paddedWorkFolder(const QString& name);

// An image of this many bytes, padded to the minimum entry length, fits the 7-digit column.
[[nodiscard]] QString entryLengthProblem(qint64 imageLength);

// Archive positions are read as 32-bit numbers: the whole archive stays below 2^31 bytes.
[[nodiscard]] QString archiveLengthProblem(qint64 archiveLength);

// The viewer executable: not empty, and small enough that the block's base fits 8 digits.
[[nodiscard]] QString executableProblem(qint64 exeLength);

// JPEG quality of converted scans: 1 to 100.
[[nodiscard]] QString qualityProblem(int quality);

} // namespace cvx::pack::limits
