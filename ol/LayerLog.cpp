#include "ol/LayerLog.h"

#include <cstdio>

#include "ol/LayerState.h"

namespace ol {

// Each message opens and closes the file, so it is on disk at once; the
// first message of a run starts the file afresh.
void WriteLog(const std::string& message)
{
    LayerState& layer = Layer();
    if (layer.logSilenced)
        return;
    const char* mode = layer.firstLogLine ? "w" : "a";
    layer.firstLogLine = false;
    FILE* file = std::fopen("ortholayer.log", mode);
    if (!file)
        return;
    std::fputs(message.c_str(), file);
    std::fputc('\n', file);
    std::fclose(file);
}

void WriteError(const std::string& message)
{
    WriteLog("ERROR: " + message);
}

void SilenceLog()
{
    Layer().logSilenced = true;
}

}  // namespace ol
