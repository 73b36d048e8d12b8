#pragma once
// What the model stream reader must do with any bytes: refuse them (false,
// the last alert saying why: 172 damaged, 139 a later version), or read a set
// of books that writes and reads back, the second writing giving the same
// bytes as the first. Crashes, hangs and sanitizer reports end the run by
// themselves.

#include <string>
#include <string_view>
#include <vector>

#include "model/CDocAccounting.h"
#include "model/foundation/GXDataStream.h"
#include "model/foundation/LDataStream.h"
#include "platform/core/alerts.h"

namespace ch::fuzz {

inline std::vector<std::uint8_t> SaveBooks(CDocAccounting& root)
{
    auto data = std::make_shared<GXDataStream::Buffer>();
    GXDataStream stream;
    stream.setDataObject(data);
    root.DoSave(&stream);
    return *data;
}

inline bool LoadBooks(CDocAccounting& root, std::vector<std::uint8_t> bytes)
{
    LDataStream stream(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    return root.initFromStream(&stream);
}

inline std::string checkModelStream(std::string_view input)
{
    RecordingAlertPresenter alerts;
    ScopedAlertPresenter alertScope(alerts);

    std::vector<std::uint8_t> bytes(input.begin(), input.end());
    CDocAccounting root;
    bool read = LoadBooks(root, bytes);
    // Refusals are numbered model errors; any other alert means the reader
    // reported something it should not have met.
    const std::vector<long> numbers = alerts.numbers();
    for (long number : numbers) {
        if (number < 128 || number > 280)
            return "unexpected alert " + std::to_string(number);
    }
    if (!read) {
        if (numbers.empty() || (numbers.back() != 172 && numbers.back() != 139))
            return "refused without saying why";
        return {};
    }

    std::vector<std::uint8_t> written = SaveBooks(root);
    CDocAccounting again;
    if (!LoadBooks(again, written)) return "books read from the data did not read back";
    if (SaveBooks(again) != written) return "books read back wrote other bytes";
    return {};
}

} // namespace ch::fuzz
