#pragma once

// The one builder of result records for the tests and the benchmarks.

#include "platform/dates.h"
#include "scoring/types.h"

#include <QDate>
#include <QString>

namespace testing {

// A result record: by default Иванов Анна, course 2, group 21, every sten 5, 5 March 2007,
// taken by test; each field changed by name, e.g. Record().surname(name).stens(7).
class Record {
public:
    Record() {
        m_record.surname = QStringLiteral("Иванов");
        m_record.firstName = QStringLiteral("Анна");
        m_record.course = QStringLiteral("2");
        m_record.group = QStringLiteral("21");
        m_record.scales.fill(5);
        m_record.date = platform::dayCount(QDate(2007, 3, 5));
    }

    Record& surname(const QString& text) { return set(m_record.surname, text); }
    Record& firstName(const QString& text) { return set(m_record.firstName, text); }
    Record& course(const QString& text) { return set(m_record.course, text); }
    Record& group(const QString& text) { return set(m_record.group, text); }
    // Every scale at one sten.
    Record& stens(quint8 sten) {
        m_record.scales.fill(sten);
        return *this;
    }
    Record& stens(const scoring::ScaleProfile& profile) { return set(m_record.scales, profile); }
    // A profile that differs from record to record: scale k at 1 + (n + k) % 10.
    Record& varied(int n) {
        for (int k = 0; k < scoring::kScales; ++k)
            m_record.scales[std::size_t(k)] = quint8(1 + (n + k) % 10);
        return *this;
    }
    Record& day(const QDate& date) { return set(m_record.date, platform::dayCount(date)); }
    Record& dayCount(double days) { return set(m_record.date, days); }
    Record& manualEntry(quint8 mode) { return set(m_record.manualEntry, mode); }

    operator scoring::ResultRecord() const { return m_record; }

private:
    template <class Field, class Value> Record& set(Field& field, const Value& value) {
        field = value;
        return *this;
    }

    scoring::ResultRecord m_record;
};

} // namespace testing
