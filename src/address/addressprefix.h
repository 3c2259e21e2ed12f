#pragma once

#include <string>

class IPv4Address;

// Address text that may carry a prefix: "a.b.c.d/n", "a.b.c.d m.m.m.m" with a
// netmask or its wildcard, or an IPv6 "address/n".
class AddressPrefix
{
public:
    enum class Form
    {
        NoPrefix, // no "/" and no inner blank: the text is the address
        Prefix,   // a well-formed prefix of a valid length
        Bad       // a prefix that is cut short, out of range or not a mask
    };

    // Splits text at its first "/" or, for IPv4, its first inner blank run;
    // addressText gets the trimmed part before it and prefixLength the length
    // (-1 unless the form is Prefix). The address part itself is not checked.
    [[nodiscard]] static Form SplitIPv4(const std::string& text, std::string& addressText, int& prefixLength);
    [[nodiscard]] static Form SplitIPv6(const std::string& text, std::string& addressText, int& prefixLength);

    // The prefix length of a contiguous netmask, else of a wildcard (inverse)
    // mask, else -1. 0.0.0.0 and 255.255.255.255 read as netmasks (/0, /32),
    // the way routes are written.
    [[nodiscard]] static int MaskLength(const IPv4Address& mask);
};
