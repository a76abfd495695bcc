// config.ini comes from disk and may be damaged: reading any bytes must neither crash nor read
// past them, and what was read must write back as a record that reads whole.
#include "settings/RecordCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    GlobalData record;
    const int fields = RecordCodec::decode(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), record);
    if (fields < 0 || fields > RecordCodec::FieldCount)
        std::abort();
    GlobalData again;
    if (RecordCodec::decode(RecordCodec::encode(record), again) != RecordCodec::FieldCount)
        std::abort();
    return 0;
}
