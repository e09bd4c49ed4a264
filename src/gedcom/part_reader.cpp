#include "gedcom/part_reader.h"

#include "gedcom/gedcom_line.h"
#include "gedcom/line_source.h"
#include "gedcom/record_parser.h"
#include "model/stirpex_doc.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <future>
#include <ios>
#include <memory>
#include <string_view>
#include <thread>

namespace stirpex {

namespace {

// Large enough that a part's fixed costs (a thread, a document, the last
// chunk of its arena) vanish beside its lines; small enough that the parts
// in flight hold little memory.
constexpr std::size_t kDefaultPartBytes = std::size_t{8} << 20;
// The first part, read before any other starts, holds the header: small, so
// that the other threads start soon.
constexpr std::size_t kFirstPartBytes = std::size_t{64} << 10;

struct Bytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::string_view view() const noexcept { return {data.get(), size}; }
};

// Where the last part in [0, size) may end: right after a line feed that is
// followed by '0'; 0 when there is no such place.
std::size_t lastCut(const char* bytes, std::size_t size) noexcept {
    // A plain loop from the end: the place is usually one record back, and
    // memrchr calls over the whole part would each be checked whole by the
    // address sanitizer, quadratic over a part of many short lines.
    for (std::size_t cut = size == 0 ? 0 : size - 1; cut > 0; --cut) { // the last byte's follower is unknown
        if (bytes[cut] == '0' && bytes[cut - 1] == '\n') {
            return cut;
        }
    }
    return 0;
}

// The stream in parts of at least a wanted size (up to where the next
// level-0 line starts), in large reads; what follows a part's end is kept
// for the next one.
class PartCutter {
public:
    explicit PartCutter(std::istream& in) noexcept : m_in(in) {}

    // Empty at the end of the stream.
    Bytes next(std::size_t wanted) {
        Bytes part;
        std::size_t capacity = m_carry.size + std::max<std::size_t>(wanted, 1);
        part.data = std::make_unique_for_overwrite<char[]>(capacity);
        if (m_carry.size > 0) {
            std::memcpy(part.data.get(), m_carry.data.get(), m_carry.size);
        }
        part.size = m_carry.size;
        m_carry = {};
        for (;;) {
            read(part.data.get() + part.size, capacity - part.size, part.size);
            if (const std::size_t cut = lastCut(part.data.get(), part.size); cut > 0) {
                keepTail(part, cut);
                return part;
            }
            if (m_ended) {
                return part;
            }
            // A record longer than the part: read on to its end.
            auto grown = std::make_unique_for_overwrite<char[]>(capacity * 2);
            std::memcpy(grown.get(), part.data.get(), part.size);
            part.data = std::move(grown);
            capacity *= 2;
        }
    }

private:
    void read(char* out, std::size_t count, std::size_t& size) {
        while (count > 0 && !m_ended) {
            m_in.read(out, static_cast<std::streamsize>(count));
            if (m_in.bad()) {
                throw std::ios_base::failure("read error");
            }
            const auto got = static_cast<std::size_t>(m_in.gcount());
            m_ended = got < count;
            out += got;
            size += got;
            count -= got;
        }
    }

    void keepTail(Bytes& part, std::size_t cut) {
        m_carry.size = part.size - cut;
        m_carry.data = std::make_unique_for_overwrite<char[]>(m_carry.size);
        std::memcpy(m_carry.data.get(), part.data.get() + cut, m_carry.size);
        part.size = cut;
    }

    std::istream& m_in;
    Bytes m_carry;
    bool m_ended = false;
};

// A later part, read on its own thread.
struct Part {
    Bytes bytes;
    std::unique_ptr<CStirpexDoc> doc;
    std::unique_ptr<RecordParser> parser;
    std::int64_t lines = 0;   // of the file, in the part
    std::int64_t counted = 0; // what progress counts for them
    bool failed = false;
    std::future<void> done; // last: waited for before the rest goes
};

void readPart(Part& part, CarriedState assumed, const std::atomic<bool>* stop) noexcept {
    try {
        part.doc = std::make_unique<CStirpexDoc>();
        part.parser = std::make_unique<RecordParser>(*part.doc, assumed);
        part.doc->BeginBulkLoad();
        LineSource source(part.bytes.view());
        LogicalLines lines(source);
        std::string_view raw;
        ParseLines(lines, *part.parser, part.doc->m_readingLog, 0, raw, [&](std::string_view) {
            part.counted += static_cast<std::int64_t>(lines.countedBytes());
            ProgressTracker::StopIfAsked(stop);
        });
        part.parser->Finish();
        part.lines = lines.linesRead();
    } catch (...) {
        // Memory, most likely, or a stop: the file's own parser reads the part
        // again and reports what it meets there, or stops at its first line.
        part.failed = true;
    }
}

// What the calling thread reads and takes in, in file order.
class PartMerger {
public:
    PartMerger(CStirpexDoc& doc, RecordParser& parser, std::int64_t fileLength, ProgressTracker& progress,
               std::int64_t& bytesRead) noexcept
        : m_doc(doc), m_parser(parser), m_fileLength(fileLength), m_progress(progress), m_bytesRead(bytesRead) {}

    // The lines of `bytes` by the file's own parser.
    std::optional<Exhausted> readHere(std::string_view bytes) {
        LineSource source(bytes);
        LogicalLines lines(source);
        std::string_view raw;
        try {
            ParseLines(lines, m_parser, m_doc.m_readingLog, m_lineOffset, raw, [&](std::string_view) {
                m_bytesRead += static_cast<std::int64_t>(lines.countedBytes());
                m_progress.stopIfAsked();
                if (m_progress.shown()) {
                    m_progress.advance(PercentOf(m_bytesRead, m_fileLength));
                }
            });
            m_parser.Finish();
        } catch (const std::bad_alloc&) {
            return Exhausted{PercentOf(m_bytesRead, m_fileLength), QuotedLine(raw)};
        }
        m_lineOffset += lines.linesRead();
        return std::nullopt;
    }

    std::optional<Exhausted> takeIn(Part& part, const CarriedState& assumed) {
        part.done.wait();
        if (!fits(part, assumed)) {
            part.parser.reset();
            part.doc.reset(); // its memory, before the lines make it anew
            return readHere(part.bytes.view());
        }
        const std::vector<ArenaStr>& keys = part.parser->keysToNumber();
        if (!keys.empty()) {
            const std::int64_t first = ReserveGeneratedKeys(static_cast<std::int64_t>(keys.size()));
            for (std::size_t i = 0; i < keys.size(); ++i) {
                TextArena::fill(keys[i], GeneratedKeyOf(first + static_cast<std::int64_t>(i)));
            }
        }
        m_doc.AppendRecordsOf(*part.doc);
        // While the parts behind it are parsed, not all at the end on one core.
        m_doc.MapRecordsSoFar();
        m_doc.m_readingLog.append(part.doc->m_readingLog, m_lineOffset);
        m_doc.m_readingLog.undecodable.append(part.doc->m_readingLog.undecodable, m_lineOffset);
        m_parser.ContinueAfter(*part.parser);
        m_lineOffset += part.lines;
        m_bytesRead += part.counted;
        m_progress.advance(PercentOf(m_bytesRead, m_fileLength));
        return std::nullopt;
    }

private:
    bool fits(const Part& part, const CarriedState& assumed) const noexcept {
        return !part.failed && !part.parser->needsEarlierLines() && assumed == m_parser.carried() &&
               part.doc->m_readingLog.distinctTags() < kMaxSkippedTags;
    }

    CStirpexDoc& m_doc;
    RecordParser& m_parser;
    std::int64_t m_fileLength;
    ProgressTracker& m_progress;
    std::int64_t& m_bytesRead;
    std::int64_t m_lineOffset = 0;
};

} // namespace

PartReading PartReadingFor(unsigned threads, std::size_t partBytes, std::int64_t fileLength) noexcept {
    PartReading reading;
    reading.threads = threads > 0 ? threads : std::max(std::thread::hardware_concurrency(), 1u);
    reading.partBytes = partBytes > 0 ? partBytes : kDefaultPartBytes;
    if (partBytes == 0 && fileLength < static_cast<std::int64_t>(2 * reading.partBytes)) {
        reading.threads = 1;
    }
    return reading;
}

std::optional<Exhausted> ReadInParts(CStirpexDoc& doc, RecordParser& parser, std::istream& in, std::int64_t fileLength,
                                     const PartReading& reading, ProgressTracker& progress, std::int64_t& bytesRead) {
    PartCutter cutter(in);
    PartMerger merger(doc, parser, fileLength, progress, bytesRead);
    {
        const Bytes first = cutter.next(std::min(kFirstPartBytes, reading.partBytes));
        if (auto exhausted = merger.readHere(first.view())) {
            return exhausted;
        }
    }
    const CarriedState assumed = parser.carried();
    std::deque<std::unique_ptr<Part>> running;
    for (;;) {
        Bytes bytes = cutter.next(reading.partBytes);
        if (bytes.size == 0) {
            break;
        }
        auto part = std::make_unique<Part>();
        part->bytes = std::move(bytes);
        part->done = std::async(std::launch::async, readPart, std::ref(*part), assumed, progress.stopToken());
        running.push_back(std::move(part));
        if (running.size() >= reading.threads) {
            if (auto exhausted = merger.takeIn(*running.front(), assumed)) {
                return exhausted;
            }
            running.pop_front();
        }
    }
    for (; !running.empty(); running.pop_front()) {
        if (auto exhausted = merger.takeIn(*running.front(), assumed)) {
            return exhausted;
        }
    }
    return std::nullopt;
}

} // namespace stirpex
