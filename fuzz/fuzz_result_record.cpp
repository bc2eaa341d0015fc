// Any bytes as a result record: decoding never reads outside the record, the strings never
// exceed their fields, and a decoded record encodes back to the bytes a reader uses.

#include "platform/dates.h"
#include "platform/error.h"
#include "scoring/result_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace scoring;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact copy, so that reading past the given bytes is caught by the address sanitizer.
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ResultRecord record;
    try {
        record = decodeRecord(bytes);
    } catch (const platform::Error&) {
        if (size >= std::size_t(kRecordSize))
            std::abort(); // only a short record may fail
        return 0;
    }
    if (record.surname.size() > 20 || record.firstName.size() > 20 || record.course.size() > 5 ||
        record.group.size() > 5)
        std::abort();
    platform::formatDayCount(record.date); // a damaged date shows as empty, never crashes

    // Everything a reader takes from the record survives encoding it again.
    const QByteArray again = encodeRecord(record);
    if (again.size() != kRecordSize)
        std::abort();
    const ResultRecord back = decodeRecord(again);
    if (back.scales != record.scales || back.manualEntry != record.manualEntry ||
        std::memcmp(&back.date, &record.date, sizeof(double)) != 0 ||
        back.surname.size() != record.surname.size() || back.group.size() != record.group.size())
        std::abort();
    return 0;
}
