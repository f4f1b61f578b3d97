#pragma once

// How a label lays out its text (label.cpp): lines wrapped as the reference platform wraps them,
// their distance, and the "&" marks of access keys.

#include <QChar>
#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

// The lines in which a label of this size shows its text: wrapped at word boundaries to its
// width, without a last line that would be cut off at the bottom, mnemonics taken out.
QStringList labelLines(const QString& text, const QFont& font, QSize size);
// The distance between the lines of a label, as Windows measures the font.
int labelLineHeight(const QFont& font);

// The mnemonic of a text ("&Open..." gives 'O'), upper case; none when it has no "&x".
std::optional<QChar> mnemonicOf(const QString& text);

// A label's text as shown: "&&" stands for "&", and every other "&" marks the next letter.
QString withoutMnemonicMarks(const QString& text);
