// The game log: one message per line, flushed at once, so a crash still
// leaves everything up to the last step on disk.
#pragma once

#include <fstream>
#include <string>

class Log {
public:
    Log();  // "log.log"
    explicit Log(const std::string& name);
    ~Log();  // writes the closing line
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    void WriteLine(const std::string& text);
    // text followed by "...Done!" or "...Failed!".
    void WriteResult(const std::string& text, bool ok);
    const std::string& FileName() const
    {
        return fileName;
    }

private:
    void Open();
    std::string fileName;
    std::ofstream stream;
};
