#include "gedcom/decoded_input.h"

#include "gedcom/pull_buffer.h"
#include "gedcom/utf16_decoder.h"

#include <algorithm>
#include <cstring>
#include <ios>
#include <string>

namespace stirpex {

namespace {

// The first bytes again, then the rest of the file straight into the reader's memory.
class PassBuffer final : public PullBuffer {
public:
    PassBuffer(std::streambuf& raw, std::string head, std::int64_t& taken)
        : m_raw(raw), m_head(std::move(head)), m_taken(taken) {}

protected:
    std::streamsize readSome(char* out, std::streamsize count) override {
        if (m_served < m_head.size()) {
            const auto n = std::min(static_cast<std::size_t>(count), m_head.size() - m_served);
            std::memcpy(out, m_head.data() + m_served, n);
            m_served += n;
            return static_cast<std::streamsize>(n);
        }
        const std::streamsize got = m_raw.sgetn(out, count);
        m_taken += got;
        return got;
    }

private:
    std::streambuf& m_raw;
    std::string m_head;
    std::size_t m_served = 0;
    std::int64_t& m_taken;
};

// UTF-8 decoded from a block of the file at a time.
class Utf16Buffer final : public std::streambuf {
public:
    Utf16Buffer(std::streambuf& raw, ByteOrder order, std::string_view head, std::size_t blockSize, std::int64_t& taken)
        : m_raw(raw), m_decoder(order), m_blockSize(std::max<std::size_t>(blockSize, 2)),
          m_block(std::make_unique_for_overwrite<char[]>(m_blockSize)),
          m_text(std::make_unique_for_overwrite<char[]>(Utf16Decoder::MaxOutput(std::max(m_blockSize, head.size())))),
          m_taken(taken) {
        char* const end = m_decoder.decode(head, m_text.get());
        setg(m_text.get(), m_text.get(), end);
    }

protected:
    int_type underflow() override {
        while (gptr() == egptr()) {
            if (m_ended) {
                return traits_type::eof();
            }
            refill();
        }
        return traits_type::to_int_type(*gptr());
    }

private:
    void refill() {
        const std::streamsize got = m_raw.sgetn(m_block.get(), static_cast<std::streamsize>(m_blockSize));
        m_taken += got;
        char* end = nullptr;
        if (got > 0) {
            end = m_decoder.decode(std::string_view(m_block.get(), static_cast<std::size_t>(got)), m_text.get());
        } else {
            end = m_decoder.finish(m_text.get());
            m_ended = true;
        }
        setg(m_text.get(), m_text.get(), end);
    }

    std::streambuf& m_raw;
    Utf16Decoder m_decoder;
    std::size_t m_blockSize;
    std::unique_ptr<char[]> m_block;
    std::unique_ptr<char[]> m_text;
    std::int64_t& m_taken;
    bool m_ended = false;
};

std::string readHead(std::istream& raw) {
    std::string head(kDetectionBytes, '\0');
    raw.read(head.data(), static_cast<std::streamsize>(head.size()));
    if (raw.bad()) {
        throw std::ios_base::failure("read error");
    }
    head.resize(static_cast<std::size_t>(raw.gcount()));
    raw.clear(); // a short file has set eof; the buffers below read on without the stream
    return head;
}

} // namespace

DecodedInput::DecodedInput(std::istream& raw, std::size_t blockSize) {
    std::string head = readHead(raw);
    m_taken = static_cast<std::int64_t>(head.size());
    m_detection = DetectByteForm(head);
    head.erase(0, m_detection.markLength);
    std::streambuf& source = *raw.rdbuf();
    switch (m_detection.form) {
    case ByteForm::Bytes:
    case ByteForm::Utf8:
        m_buffer = std::make_unique<PassBuffer>(source, std::move(head), m_taken);
        break;
    case ByteForm::Utf16LE:
    case ByteForm::Utf16BE: {
        const ByteOrder order = m_detection.form == ByteForm::Utf16LE ? ByteOrder::Little : ByteOrder::Big;
        m_buffer = std::make_unique<Utf16Buffer>(source, order, head, blockSize, m_taken);
        break;
    }
    }
    m_stream.rdbuf(m_buffer.get());
    m_stream.exceptions(raw.exceptions()); // what the file's stream would throw, this one throws
}

DecodedInput::~DecodedInput() = default;

} // namespace stirpex
