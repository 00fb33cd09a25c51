// Text records and wave files of any content: lines split into fields either
// are refused or write back to a line that splits into the same texts; a wave
// file is refused or its samples lie inside the file.
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "TextFile.h"
#include "WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::LineReader lines(text);
    std::string line;
    std::vector<platform::TextField> fields, again;
    while (lines.ReadLine(line)) {
        if (line.find('\n') != std::string::npos)
            std::abort();
        if (!platform::SplitRecord(line, fields))
            continue;
        std::string written;
        platform::RecordWriter writer(written);
        for (const platform::TextField& field : fields) {
            double value = 0;
            platform::ReadNumber(field.text, value);
            writer.WriteText(field.text);
        }
        writer.EndRecord();
        written.resize(written.size() - 2);
        if (!platform::SplitRecord(written, again) || again.size() != fields.size())
            std::abort();
        for (size_t i = 0; i < fields.size(); ++i) {
            if (again[i].text != fields[i].text || !again[i].quoted)
                std::abort();
        }
    }
    platform::WaveSound sound;
    if (platform::ParseWave({data, size}, sound)) {
        if (sound.data.data() < data || sound.data.data() + sound.data.size() > data + size ||
            sound.data.size() % static_cast<size_t>(sound.FrameBytes()) != 0)
            std::abort();
    }
    return 0;
}
