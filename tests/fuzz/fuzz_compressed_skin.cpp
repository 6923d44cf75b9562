// Bytes as a compressed skin container and as a bare zlib stream, loaded into a skin model. Bad
// input must end in an Exception with the model cleared or unchanged, never in a crash, a hang
// or memory the data's size does not justify.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/framework/core/exceptions.h"
#include "skin/core/skin_data.h"
#include "skin/core/stored_skin.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("VX_HEADLESS", "1", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static TbsSkinData model(nullptr);
    TbsCompressedStoredSkin stored(nullptr);
    TMemoryStream container;
    container.WriteBuffer(data, static_cast<int64_t>(size));
    auto load = [&] {
        try {
            model.LoadCompressedStoredSkin(&stored);
        } catch (const Exception&) {
            if (model.ChangeSkinDataProcess) std::abort();
        }
    };
    try {
        stored.LoadFromCompressStream(container);
        load();
    } catch (const Exception&) {}
    stored.SetCompressedData(std::vector<uint8_t>(data, data + size));
    load();
    return 0;
}
