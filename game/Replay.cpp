// Replay files: writing and reading the format, and the digest of the yard
// that lets a replay say where a game went another way.
#include "game/Replay.h"

#include <cstring>

namespace {

const char kMagic[4] = {'Q', 'M', 'R', 'P'};
constexpr std::uint16_t kFormatVersion = 1;
constexpr std::size_t kMaxVersionLength = 32;
// A day of play; more is a damaged or made-up file, and would take long to verify.
constexpr std::uint32_t kMaxTicks = 24u * 60 * 60 * 100;
constexpr int kMaxPictureSide = 1024;
constexpr int kMaxTimePhase = 100;
constexpr std::uint32_t kMaxInputRuns = kReplayReadLimit / sizeof(InputRun);
constexpr std::uint8_t kKeyLeft = 1, kKeyRight = 2, kKeyJump = 4;

// CRC-32 as zip and PNG use it (reflected polynomial 0xEDB88320).
std::uint32_t Crc32(const std::string& bytes, std::size_t length)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= static_cast<std::uint8_t>(bytes[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

class Writer {
public:
    void Bytes(const char* data, std::size_t n)
    {
        out.append(data, n);
    }
    void U8(std::uint32_t v)
    {
        out.push_back(static_cast<char>(v & 0xFF));
    }
    void U16(std::uint32_t v)
    {
        U8(v);
        U8(v >> 8);
    }
    void U32(std::uint32_t v)
    {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    // Seven bits a byte, low first; the top bit says more follow.
    void Count(std::uint32_t v)
    {
        while (v >= 0x80) {
            U8((v & 0x7F) | 0x80);
            v >>= 7;
        }
        U8(v);
    }
    std::string out;
};

// Every read checks what is left, so a short or lying file stops the reader
// instead of sending it past the end.
class Reader {
public:
    Reader(const std::string& bytes, std::size_t end) : in(bytes), end(end)
    {
    }
    bool U8(std::uint32_t& v)
    {
        if (at >= end)
            return false;
        v = static_cast<std::uint8_t>(in[at++]);
        return true;
    }
    bool U16(std::uint32_t& v)
    {
        std::uint32_t low = 0, high = 0;
        if (!U8(low) || !U8(high))
            return false;
        v = low | high << 8;
        return true;
    }
    bool U32(std::uint32_t& v)
    {
        std::uint32_t low = 0, high = 0;
        if (!U16(low) || !U16(high))
            return false;
        v = low | high << 16;
        return true;
    }
    bool Count(std::uint32_t& v)
    {
        v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            std::uint32_t byte = 0;
            if (!U8(byte))
                return false;
            if (shift == 28 && byte > 0x0F)
                return false;  // more than 32 bits
            // A length in more bytes than it needs: the game never writes one, and a game
            // has one file only.
            if (shift > 0 && byte == 0)
                return false;
            v |= (byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                return true;
        }
        return false;
    }
    bool Text(std::size_t n, std::string& text)
    {
        if (end - at < n)
            return false;
        text = in.substr(at, n);
        at += n;
        return true;
    }
    std::size_t Left() const
    {
        return end - at;
    }

private:
    const std::string& in;
    std::size_t end;
    std::size_t at = 0;
};

std::uint32_t CheckpointsFor(std::uint32_t ticks)
{
    return (ticks + kCheckpointTicks - 1) / kCheckpointTicks + 1;
}

// A picture that failed to load measures 0, and the game plays on with it.
bool SizeFits(std::uint32_t side)
{
    return side <= kMaxPictureSide;
}

// The fields after the magic word and the format version.
bool ReadHeader(Reader& reader, Replay& replay, std::string& error)
{
    std::uint32_t versionLength = 0, seed = 0, facing = 0, held = 0, phase = 0;
    std::uint32_t sides[4] = {};
    bool whole = reader.U8(versionLength) && versionLength <= kMaxVersionLength &&
                 reader.Text(versionLength, replay.gameVersion) && reader.U32(seed) &&
                 reader.U8(facing) && reader.U8(held) && reader.U8(phase);
    for (std::uint32_t& side : sides)
        whole = whole && reader.U16(side);
    if (!whole) {
        error = "truncated or damaged header";
        return false;
    }
    const bool sizesFit =
        SizeFits(sides[0]) && SizeFits(sides[1]) && SizeFits(sides[2]) && SizeFits(sides[3]);
    if ((facing != 1 && facing != 2) || held > 1 || phase > kMaxTimePhase || !sizesFit) {
        error = "damaged header";
        return false;
    }
    replay.start.seed = seed;
    replay.start.facing = static_cast<Facing>(facing);
    replay.start.spaceHeld = held != 0;
    replay.start.timePhase = static_cast<int>(phase);
    replay.sizes = {static_cast<int>(sides[0]), static_cast<int>(sides[1]),
                    static_cast<int>(sides[2]), static_cast<int>(sides[3])};
    return true;
}

bool ReadResult(Reader& reader, Replay& replay, std::string& error)
{
    std::uint32_t ticks = 0, score = 0, ending = 0;
    if (!reader.U32(ticks) || !reader.U32(score) || !reader.U8(ending)) {
        error = "truncated result";
        return false;
    }
    if (ticks > kMaxTicks || ending > static_cast<std::uint32_t>(GameEnding::CloseButton)) {
        error = "damaged result";
        return false;
    }
    replay.ticks = ticks;
    replay.score = static_cast<std::int32_t>(score);
    replay.ending = static_cast<GameEnding>(ending);
    return true;
}

// The counts are checked against the ticks and the bytes left before anything
// is kept, so a lying count cannot make the reader take much memory.
bool ReadCheckpoints(Reader& reader, Replay& replay, std::string& error)
{
    std::uint32_t count = 0;
    if (!reader.U32(count) || count != CheckpointsFor(replay.ticks) || reader.Left() / 4 < count) {
        error = "checkpoints do not match the ticks";
        return false;
    }
    replay.checkpoints.resize(count);
    for (std::uint32_t& digest : replay.checkpoints)
        reader.U32(digest);
    return true;
}

bool ReadInputs(Reader& reader, Replay& replay, std::string& error)
{
    std::uint32_t count = 0;
    // A run takes two bytes at least: its keys and its length. Kept in memory it
    // takes more, so the count is also held to what fits in the read limit.
    if (!reader.U32(count) || reader.Left() / 2 < count || count > kMaxInputRuns) {
        error = "truncated inputs";
        return false;
    }
    replay.inputs.resize(count);
    std::uint64_t total = 0;
    for (InputRun& run : replay.inputs) {
        std::uint32_t keys = 0, ticks = 0;
        if (!reader.U8(keys) || !reader.Count(ticks) || keys > 7 || ticks == 0) {
            error = "damaged inputs";
            return false;
        }
        run.keys = static_cast<std::uint8_t>(keys);
        run.ticks = ticks;
        total += ticks;
    }
    if (total != replay.ticks || reader.Left() != 0) {
        error = "inputs do not match the ticks";
        return false;
    }
    return true;
}

class Digest {
public:
    void Add(std::uint32_t v)
    {
        for (int byte = 0; byte < 4; ++byte) {
            hash ^= (v >> (8 * byte)) & 0xFF;
            hash *= 16777619u;  // FNV-1a
        }
    }
    void Add(int v)
    {
        Add(static_cast<std::uint32_t>(v));
    }
    void Add(bool v)
    {
        Add(v ? 1u : 0u);
    }
    void Add(Facing v)
    {
        Add(static_cast<int>(v));
    }
    void Add(float v)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        Add(bits);
    }
    // All but the animation state, which the rules only write.
    void Add(const GameObject& o)
    {
        Add(o.active);
        Add(o.falling);
        Add(o.jumping);
        Add(o.x);
        Add(o.y);
        Add(o.facing);
        Add(o.unloaded);
        Add(o.speed);
        Add(o.fallSpeed);
        Add(o.column);
        Add(o.jumpBase);
        Add(o.jumpSpeed);
        Add(o.score);
    }
    std::uint32_t hash = 2166136261u;
};

}  // namespace

void Replay::AddTick(const TickInput& input)
{
    const std::uint8_t keys = PackKeys(input);
    if (inputs.empty() || inputs.back().keys != keys)
        inputs.push_back({keys, 0});
    inputs.back().ticks += 1;
    ticks += 1;
}

std::uint8_t PackKeys(const TickInput& input)
{
    return (input.left ? kKeyLeft : 0) | (input.right ? kKeyRight : 0) |
           (input.jump ? kKeyJump : 0);
}

TickInput UnpackKeys(std::uint8_t keys)
{
    TickInput input;
    input.left = (keys & kKeyLeft) != 0;
    input.right = (keys & kKeyRight) != 0;
    input.jump = (keys & kKeyJump) != 0;
    return input;
}

bool InputCursor::Next(TickInput& input)
{
    while (run < runs.size() && used == runs[run].ticks) {
        run += 1;
        used = 0;
    }
    if (run == runs.size())
        return false;
    used += 1;
    input = UnpackKeys(runs[run].keys);
    return true;
}

std::string EncodeReplay(const Replay& replay)
{
    Writer writer;
    writer.Bytes(kMagic, sizeof kMagic);
    writer.U16(kFormatVersion);
    const std::string version = replay.gameVersion.substr(0, kMaxVersionLength);
    writer.U8(static_cast<std::uint32_t>(version.size()));
    writer.Bytes(version.data(), version.size());
    writer.U32(replay.start.seed);
    writer.U8(static_cast<std::uint32_t>(replay.start.facing));
    writer.U8(replay.start.spaceHeld ? 1 : 0);
    writer.U8(static_cast<std::uint32_t>(replay.start.timePhase));
    writer.U16(static_cast<std::uint32_t>(replay.sizes.workerWidth));
    writer.U16(static_cast<std::uint32_t>(replay.sizes.workerHeight));
    writer.U16(static_cast<std::uint32_t>(replay.sizes.crateWidth));
    writer.U16(static_cast<std::uint32_t>(replay.sizes.crateHeight));
    writer.U32(replay.ticks);
    writer.U32(static_cast<std::uint32_t>(replay.score));
    writer.U8(static_cast<std::uint32_t>(replay.ending));
    writer.U32(static_cast<std::uint32_t>(replay.checkpoints.size()));
    for (std::uint32_t digest : replay.checkpoints)
        writer.U32(digest);
    writer.U32(static_cast<std::uint32_t>(replay.inputs.size()));
    for (const InputRun& run : replay.inputs) {
        writer.U8(run.keys);
        writer.Count(run.ticks);
    }
    writer.U32(Crc32(writer.out, writer.out.size()));
    return writer.out;
}

bool DecodeReplay(const std::string& bytes, Replay& replay, std::string& error)
{
    if (bytes.empty()) {
        error = "empty file";
        return false;
    }
    if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        error = "not a replay file";
        return false;
    }
    Reader reader(bytes, bytes.size());
    std::uint32_t magic = 0, format = 0, checksum = 0;
    reader.U32(magic);
    if (!reader.U16(format)) {
        error = "truncated file";
        return false;
    }
    if (format != kFormatVersion) {
        error = "replay format version " + std::to_string(format) + ", this game reads version " +
                std::to_string(kFormatVersion);
        return false;
    }
    // The checksum closes the file and covers every byte before it.
    const std::size_t body = bytes.size() - 4;
    const std::string last = bytes.substr(body);
    Reader tail(last, last.size());
    if (bytes.size() < 10 || !tail.U32(checksum) || checksum != Crc32(bytes, body)) {
        error = "damaged or truncated (checksum does not match)";
        return false;
    }
    Reader fields(bytes, body);
    fields.U32(magic);
    fields.U16(format);
    return ReadHeader(fields, replay, error) && ReadResult(fields, replay, error) &&
           ReadCheckpoints(fields, replay, error) && ReadInputs(fields, replay, error);
}

std::uint32_t StateDigest()
{
    const GameState& gs = gameState;
    Digest digest;
    digest.Add(gs.worker);
    for (const GameObject& crane : gs.cranes)
        digest.Add(crane);
    for (const GameObject& light : gs.alarms)
        digest.Add(light.state);
    digest.Add(static_cast<int>(gs.crates.size()));
    for (const GameObject& crate : gs.crates)
        digest.Add(crate);
    for (int height : gs.columnHeights)
        digest.Add(height);
    digest.Add(gs.elapsedSeconds);
    digest.Add(gs.timeAnimation.Elapsed());
    digest.Add(gs.rowDropActive);
    digest.Add(gs.pushLeftActive);
    digest.Add(gs.pushRightActive);
    digest.Add(gs.rowDropSteps);
    digest.Add(gs.pushSteps);
    digest.Add(pushedCrateIndex);
    digest.Add(gs.spaceHeld);
    return digest.hash;
}
