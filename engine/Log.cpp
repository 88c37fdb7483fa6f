// The game log "quillemarch.log": a header with the start time, then one
// flushed message per line.
#include "engine/Log.h"

#include "engine/Platform.h"

Log::Log() : fileName("log.log") { Open(); }

Log::Log(const std::string& name) : fileName(name) { Open(); }

Log::~Log()
{
    WriteLine("   Shutting down log system...");
    std::lock_guard<std::mutex> writing(platform::FileWriteLock());
    stream.close();
}

// Every run starts a fresh file; if it cannot be made, the stream stays
// failed and every message is dropped without a word.
void Log::Open()
{
    const std::string date = platform::DateText();
    const std::string time = platform::TimeText();
    stream.open(fileName, std::ios::out | std::ios::trunc);
    stream << "----- " << date << " " << time << " ----- " << "\n";
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
