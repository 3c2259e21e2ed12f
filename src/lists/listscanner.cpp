// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lists/listscanner.h"

#include "address/addressprefix.h"
#include "address/ipv4address.h"

#include <arpa/inet.h>
#include <array>
#include <cstring>

namespace {
enum class Reason : quint8
{
    None,
    NotAddress,
    LengthOutOfRange,
    FirstAfterLast,
    MixedFamilies,
    HostBits
};
constexpr std::array<std::string_view, 6> kReasons = {"",
                                                      "not an address",
                                                      "prefix length out of range",
                                                      "first address after last",
                                                      "mixed families in a range",
                                                      "host bits set: counted as "};

enum class CharClass : quint8
{
    Word,
    Blank,
    Separator,
    LineEnd,
    Comment
};
constexpr std::array<CharClass, 256> kClasses = [] {
    std::array<CharClass, 256> classes{};
    classes[' '] = classes['\t'] = CharClass::Blank;
    classes[','] = classes[';'] = CharClass::Separator;
    classes['\n'] = classes['\r'] = CharClass::LineEnd;
    classes['#'] = CharClass::Comment;
    return classes;
}();

// Words between two calls of the sink's proceed.
constexpr size_t kCheckEvery = 65536;
// Problem text longer than this is cut.
constexpr size_t kTextLimit = 60;
// The longest IPv6 text inet_pton reads: INET6_ADDRSTRLEN less its NUL.
constexpr size_t kLongestIPv6 = 45;

struct Word
{
    std::string_view text;
    bool afterBlank = false; // only blanks between it and the word before
};

CharClass ClassOf(char c)
{
    return kClasses[static_cast<unsigned char>(c)];
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// One to four dotted decimal octets; the missing low octets are zero.
bool ParseDotted(std::string_view word, quint32& value, int& parts)
{
    quint32 bits = 0;
    parts = 0;
    size_t at = 0;
    for (;;) {
        unsigned octet = 0;
        size_t digits = 0;
        for (; at < word.size() && IsDigit(word[at]) && digits <= 3; ++at, ++digits)
            octet = octet * 10 + static_cast<unsigned>(word[at] - '0');
        if (digits == 0 || digits > 3 || octet > 255)
            return false;
        bits = bits << 8 | octet;
        ++parts;
        if (at == word.size())
            break;
        if (word[at] != '.' || parts == 4)
            return false;
        ++at;
    }
    value = parts == 4 ? bits : bits << (8 * (4 - parts));
    return true;
}

bool ParseIPv6(std::string_view word, UInt128& value)
{
    // inet_pton wants a terminated copy; a NUL inside would end it early.
    std::array<char, kLongestIPv6 + 1> text{};
    if (word.size() > kLongestIPv6 || std::memchr(word.data(), 0, word.size()) != nullptr)
        return false;
    std::memcpy(text.data(), word.data(), word.size());
    std::array<unsigned char, 16> bytes{};
    if (inet_pton(AF_INET6, text.data(), bytes.data()) != 1)
        return false;
    value = 0;
    for (const unsigned char byte : bytes)
        value = value << 8 | byte;
    return true;
}

// Four dotted decimal octets.
bool ParseIPv4(std::string_view word, UInt128& value)
{
    quint32 bits = 0;
    int parts = 0;
    if (!ParseDotted(word, bits, parts) || parts != 4)
        return false;
    value = bits;
    return true;
}

bool ParseAddress(std::string_view word, AddressFamily& family, UInt128& value)
{
    const bool ipv6 = word.find(':') != std::string_view::npos;
    family = ipv6 ? AddressFamily::IPv6 : AddressFamily::IPv4;
    return ipv6 ? ParseIPv6(word, value) : ParseIPv4(word, value);
}

// The prefix address/length read as the length says, with a note when host bits are set.
Reason ReadPrefix(AddressFamily family, UInt128 address, int length, AddressRange& range)
{
    range = AddressRange::FromPrefix(family, address, length);
    return range.first == address ? Reason::None : Reason::HostBits;
}

Reason ReadPrefix(std::string_view address, std::string_view length, AddressRange& range)
{
    AddressFamily family = AddressFamily::IPv4;
    UInt128 value = 0;
    quint32 bits = 0;
    int parts = 0;
    if (address.find(':') != std::string_view::npos ? !ParseAddress(address, family, value)
                                                    : !ParseDotted(address, bits, parts))
        return Reason::NotAddress;
    if (family == AddressFamily::IPv4)
        value = bits;
    const bool negative = !length.empty() && length.front() == '-';
    const std::string_view digits = length.substr(negative ? 1 : 0);
    int number = 0;
    for (const char c : digits) {
        if (!IsDigit(c))
            return Reason::NotAddress;
        number = std::min(number * 10 + (c - '0'), 1000); // any such length is out of range
    }
    if (digits.empty())
        return Reason::NotAddress;
    if (negative || number > AddressRange::Bits(family))
        return Reason::LengthOutOfRange;
    return ReadPrefix(family, value, number, range);
}

Reason ReadRange(std::string_view firstWord, std::string_view lastWord, AddressRange& range)
{
    AddressFamily lastFamily = AddressFamily::IPv4;
    if (!ParseAddress(firstWord, range.family, range.first) || !ParseAddress(lastWord, lastFamily, range.last))
        return Reason::NotAddress;
    if (range.family != lastFamily)
        return Reason::MixedFamilies;
    if (range.first > range.last)
        return Reason::FirstAfterLast;
    return Reason::None;
}

// A prefix, a range without blanks or an address.
Reason ReadWord(std::string_view word, AddressRange& range)
{
    // One look at each character: most words are short and plain.
    size_t slash = std::string_view::npos, dash = std::string_view::npos;
    for (size_t at = 0; at < word.size() && slash == std::string_view::npos; ++at) {
        if (word[at] == '/')
            slash = at;
        else if (word[at] == '-' && dash == std::string_view::npos)
            dash = at;
    }
    if (slash != std::string_view::npos)
        return ReadPrefix(word.substr(0, slash), word.substr(slash + 1), range);
    if (dash != std::string_view::npos)
        return ReadRange(word.substr(0, dash), word.substr(dash + 1), range);
    if (!ParseAddress(word, range.family, range.first))
        return Reason::NotAddress;
    range.last = range.first;
    return Reason::None;
}

// The prefix length of an IPv4 netmask or wildcard, else -1.
int MaskLength(std::string_view word)
{
    UInt128 value = 0;
    return ParseIPv4(word, value) ? AddressPrefix::MaskLength(IPv4Address(static_cast<quint32>(value))) : -1;
}

// Text cut to a readable length at a character's start, control bytes shown as '?'.
std::string ProblemText(std::string_view text)
{
    size_t size = text.size();
    if (size > kTextLimit) {
        size = kTextLimit;
        while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80)
            --size;
    }
    std::string cut(text.substr(0, size));
    for (char& c : cut) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    }
    if (size < text.size())
        cut += "\u2026";
    return cut;
}

// Reads the words of one line at a time into the sink and the problems.
class LineReader
{
public:
    LineReader(ListSink& sink, std::vector<ListProblem>& problems)
        : m_sink(sink),
          m_problems(problems)
    {
    }

    void AddWord(std::string_view text, bool afterBlank) { m_words.push_back({text, afterBlank}); }

    // Reads the words added since the last call as line line.
    void ReadLine(quint32 line)
    {
        m_firstProblem = m_problems.size();
        m_moreProblems = 0;
        for (size_t at = 0; at < m_words.size();)
            at += ReadItem(line, at);
        if (m_moreProblems > 0)
            m_problems[m_firstProblem].reason += " (and " + std::to_string(m_moreProblems) + " more on this line)";
        m_words.clear();
    }

private:
    // Reads the item starting at word at; returns how many words it took.
    size_t ReadItem(quint32 line, size_t at)
    {
        const auto follows = [this, at](size_t offset) {
            return at + offset < m_words.size() && m_words[at + offset].afterBlank;
        };
        AddressRange range;
        Reason reason = Reason::None;
        size_t used = 1;
        UInt128 address = 0;
        int length = -1;
        if (follows(1) && follows(2) && m_words[at + 1].text == "-") {
            reason = ReadRange(m_words[at].text, m_words[at + 2].text, range);
            used = 3;
        } else if (follows(1) && ParseIPv4(m_words[at].text, address)
                   && (length = MaskLength(m_words[at + 1].text)) >= 0) {
            reason = ReadPrefix(AddressFamily::IPv4, address, length, range);
            used = 2;
        } else {
            reason = ReadWord(m_words[at].text, range);
        }
        if (reason == Reason::None || reason == Reason::HostBits)
            m_sink.Add(range.family, range.first, range.last, line);
        if (reason != Reason::None) {
            const std::string_view& last = m_words[at + used - 1].text;
            const char* start = m_words[at].text.data();
            Report(line, std::string_view(start, static_cast<size_t>(last.data() + last.size() - start)), reason,
                   range);
        }
        return used;
    }

    void Report(quint32 line, std::string_view text, Reason why, const AddressRange& range)
    {
        if (m_problems.size() > m_firstProblem) {
            ++m_moreProblems;
            return;
        }
        std::string reason(kReasons[static_cast<size_t>(why)]);
        if (why == Reason::HostBits)
            reason += range.Text();
        m_problems.push_back({line, ProblemText(text), std::move(reason)});
    }

    ListSink& m_sink;
    std::vector<ListProblem>& m_problems;
    std::vector<Word> m_words; // kept between lines, so a line costs no allocation
    size_t m_firstProblem = 0;
    size_t m_moreProblems = 0;
};
} // namespace

bool ListScanner::Scan(std::string_view text, ListSink& sink, std::vector<ListProblem>& problems,
                       const std::function<bool(size_t)>& proceed)
{
    LineReader reader(sink, problems);
    quint32 line = 1;
    size_t words = 0;
    bool afterBlank = false;
    bool lineStart = true;
    for (size_t at = 0; at < text.size();) {
        switch (ClassOf(text[at])) {
        case CharClass::Word: {
            const size_t start = at;
            while (at < text.size() && ClassOf(text[at]) == CharClass::Word)
                ++at;
            if (++words % kCheckEvery == 0 && proceed && !proceed(at))
                return false;
            // Most lines are one plain item: read as the line reader would, without its bookkeeping.
            AddressRange range;
            if (lineStart && at < text.size() && text[at] == '\n'
                && ReadWord(text.substr(start, at - start), range) == Reason::None) {
                sink.Add(range.family, range.first, range.last, line++);
                ++at;
                break;
            }
            reader.AddWord(text.substr(start, at - start), afterBlank);
            afterBlank = true;
            lineStart = false;
            break;
        }
        case CharClass::Blank:
            ++at;
            break;
        case CharClass::Separator:
            afterBlank = false;
            lineStart = false;
            ++at;
            break;
        case CharClass::Comment:
            at = std::min(text.find_first_of("\r\n", at), text.size());
            break;
        case CharClass::LineEnd:
            reader.ReadLine(line++);
            at += text.compare(at, 2, "\r\n") == 0 ? 2 : 1;
            afterBlank = false;
            lineStart = true;
            break;
        }
    }
    reader.ReadLine(line);
    return true;
}
