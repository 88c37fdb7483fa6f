// The game log "quillemarch.log": a header with the start time, then one
// flushed message per line.
#include "engine/Log.h"

#include "engine/Platform.h"

Log::Log() : fileName("log.log")
{
    Open();
}

Log::Log(const std::string& name) : fileName(name)
{
    Open();
}

Log::~Log()
{
    WriteLine("   Shutting down log system...");
    std::lock_guard<std::mutex> writing(platform::FileWriteLock());
    stream.close();
}

// Every run starts a fresh file; if it cannot be made, or the run leaves the
// player's files alone, the stream stays closed and every message is dropped
// without a word.
void Log::Open()
{
    if (platform::PlayerFilesLeftAlone())
        return;
    const std::string date = platform::DateText();
    const std::string time = platform::TimeText();
    stream.open(fileName, std::ios::out | std::ios::trunc);
    stream << "----- " << date << " " << time << " ----- "
           << "\n";
}

void Log::WriteLine(const std::string& text)
{
    std::lock_guard<std::mutex> writing(platform::FileWriteLock());
    stream << text << "\n";
    stream.flush();
}

void Log::WriteResult(const std::string& text, bool ok)
{
    WriteLine(text + (ok ? "...Done!" : "...Failed!"));
}
