#pragma once

#include <QLineEdit>
#include <QValidator>

namespace orvane {

// A text box that refuses, as they are typed or pasted, characters a register cannot
// hold. Filled by program it shows any text, and the characters it was filled with
// stay: only characters added by typing are judged.
class StorableTextEdit final : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StorableTextEdit)

public:
    explicit StorableTextEdit(QWidget* parent = nullptr);
    void Fill(const QString& text);
    // Whether `after` holds more characters a register cannot hold than `before`.
    static bool AddsUnstorable(const QString& before, const QString& after);

private:
    class Validator;
    Validator* m_validator;
};

// Whether typing could not have turned `before` into `after` in the box: its validator
// refuses the text, or for a StorableTextEdit the text adds characters no register holds.
bool TypingRefuses(const QLineEdit* edit, const QString& before, const QString& after);

// Digits only and no number above the bound: a keystroke that would break either is
// refused.
class DigitsValidator final : public QValidator {
public:
    DigitsValidator(unsigned bound, QObject* parent) : QValidator(parent), m_bound(bound) {}
    State validate(QString& input, int& pos) const override;

private:
    unsigned m_bound;
};

// Digits only, and the number kept within 1 to `largest`: a number out of range is
// replaced in the box as it is typed or filled in.
class ClampedNumberValidator final : public QValidator {
public:
    ClampedNumberValidator(int largest, QObject* parent) : QValidator(parent), m_largest(largest) {}
    State validate(QString& input, int& pos) const override;

private:
    int m_largest;
};

} // namespace orvane
