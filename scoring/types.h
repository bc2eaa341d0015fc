#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

namespace scoring {

constexpr int kItems = 105; // statements of the form
constexpr int kAnswers = 3; // a, b, c
constexpr int kScales = 17; // MD, A, B, C, E, F, G, H, I, L, M, N, O, Q1, Q2, Q3, Q4

// Scale codes in scale order, numbered 1 (MD) to 17 (Q4).
inline constexpr std::array<const char*, kScales> kScaleCodes = {
    "MD", "A", "B", "C", "E", "F", "G", "H", "I", "L", "M", "N", "O", "Q1", "Q2", "Q3", "Q4"};

// The scale (1 to 17) that item n (1 to 105) belongs to: the items run through the scales in
// order, so 103, 104 and 105 fall to MD, A and B.
constexpr int scaleOfItem(int item) {
    return (item - 1) % kScales + 1;
}

// The answers of one subject: element s (1 to 105) is 0 (no answer), 1 (a), 2 (b) or 3 (c).
class AnswerSheet {
public:
    quint8 answer(int statement) const { return m_answers[std::size_t(statement - 1)]; }
    void setAnswer(int statement, quint8 answer) { m_answers[std::size_t(statement - 1)] = answer; }
    void clear() { m_answers.fill(0); }

private:
    std::array<quint8, kItems> m_answers{};
};

using ItemScores = std::array<quint8, kItems>;    // index item - 1
using RawScores = std::array<quint8, kScales>;    // index scale - 1
using ScaleProfile = std::array<quint8, kScales>; // stens 1 to 10, index scale - 1

// How the answers were taken; stored as the record's manual-entry byte.
enum class EntryMode : quint8 { Test = 0, Manual = 1 };

// Who was tested, as typed into the subject data window or the manual entry window.
struct Subject {
    QString surname;
    QString firstName;
    QString course;
    QString group;
};

// The most characters a result record keeps of each part of the subject's data (code page 1251,
// one byte each); the fields that take them in accept no more.
constexpr int kSurnameLength = 20;
constexpr int kFirstNameLength = 20;
constexpr int kCourseLength = 5;
constexpr int kGroupLength = 5;

// One saved subject, as the result file stores it.
struct ResultRecord {
    QString surname;   // at most kSurnameLength characters are stored
    QString firstName; // at most kFirstNameLength
    QString course;    // at most kCourseLength
    QString group;     // at most kGroupLength
    ScaleProfile scales{};
    double date = 0.0;      // days since 30 December 1899
    quint8 manualEntry = 0; // 0 on-screen test, 1 typed in from a paper sheet
};

} // namespace scoring
