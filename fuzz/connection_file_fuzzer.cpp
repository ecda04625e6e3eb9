// The connection file as the client reads it, and the rule that keeps a signed one. Two kinds of input:
// - any bytes as an old Kavlo.rdp: no crash, and the work is bounded by their size (the verifier is asked at most
//   once, over a message at most a few times the file's size);
// - a file this fuzzer composes from address lines it knows, signed or tampered with, in any encoding, line end
//   and letter case of the names: the rule must keep it exactly when the fuzzer, from what it put in, knows the
//   client would connect to the saved server under a signature that holds.
#include "settings/connection_file.h"
#include "tests/support/latin1.h"
#include "tests/support/stand_in_signature.h"
#include "tests/support/test_signer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Counts what the rule asks, and checks the message's size.
class CountingVerifier : public StandInVerifier {
public:
    // Each scoped line once, with its line end, then the scope: a few times the file's characters at most.
    explicit CountingVerifier(std::size_t input_size) : largest_message_(8 * input_size + 64) {}
    bool Verifies(std::span<const std::uint8_t> signature, std::span<const std::uint8_t> message) const override {
        if (++calls_ > 1 || message.size() > largest_message_) std::abort();
        return StandInVerifier::Verifies(signature, message);
    }

private:
    std::size_t largest_message_;
    mutable int calls_ = 0;
};

// Takes choices from the input, then zeros once it is used up.
class Choices {
public:
    Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    unsigned Next(unsigned count) { return at_ < size_ ? data_[at_++] % count : 0; }
    bool Flag() { return Next(2) == 1; }
    const std::uint8_t* Rest() const { return data_ + at_; }
    std::size_t RestSize() const { return size_ - at_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// The server being saved is rdp.example.test at 3389, whatever the spelling; the others are not.
struct Address {
    const char* text;
    bool our_host;
    std::optional<unsigned> port;  // as written; otherwise the "server port" line's, else 3389
};
constexpr Address kAddresses[] = {
    {"rdp.example.test", true, std::nullopt},   {"RDP.Example.Test", true, std::nullopt},
    {"rdp.example.test:3389", true, 3389},      {"Rdp.Example.Test:4000", true, 4000},
    {"evil.example.test", false, std::nullopt}, {"rdp.example.test.evil:3389", false, 3389},
};
constexpr Address kServers[] = {
    {"rdp.example.test", true, std::nullopt},    {"RDP.EXAMPLE.TEST:3389", true, 3389},
    {" rdp.example.test ", true, std::nullopt},  {"rdp.example.test:4000", true, 4000},
    {"other.example.test", false, std::nullopt},
};
constexpr unsigned kServerPorts[] = {3389, 4000};

struct Line {
    std::string name;  // lower case
    std::string type_and_value;
};

std::string WithNameCase(const std::string& name, bool capitals) {
    std::string text = name;
    for (std::size_t i = 0; capitals && i < text.size(); ++i) {
        if ((i == 0 || text[i - 1] == ' ') && text[i] >= 'a' && text[i] <= 'z')
            text[i] = static_cast<char>(text[i] - 32);
    }
    return text;
}

Bytes Encoded(const std::string& text, unsigned encoding) {
    Bytes bytes;
    switch (encoding) {
        case 0:  // ANSI or UTF-8 alike: the text is ASCII
            break;
        case 1:
            bytes = {0xEF, 0xBB, 0xBF};
            break;
        case 2:
            bytes = {0xFF, 0xFE};
            [[fallthrough]];
        case 3:
            for (char c : text) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
            return bytes;
        case 4:
            bytes = {0xFE, 0xFF};
            [[fallthrough]];
        default:
            for (char c : text) bytes.insert(bytes.end(), {0, static_cast<std::uint8_t>(c)});
            return bytes;
    }
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

void JudgeComposedFile(Choices& choices) {
    const Address& server = kServers[choices.Next(std::size(kServers))];
    std::vector<Line> lines;
    // One to three address lines, "full address" first; perhaps a "server port" line.
    const unsigned address_count = 1 + choices.Next(3);
    std::vector<const Address*> addresses;
    for (unsigned i = 0; i < address_count; ++i) {
        const Address& address = kAddresses[choices.Next(std::size(kAddresses))];
        addresses.push_back(&address);
        lines.push_back(
            {i == 0 || choices.Flag() ? "full address" : "alternate full address", std::string("s:") + address.text});
    }
    std::vector<unsigned> server_ports;
    for (unsigned count = choices.Next(3), i = 0; i < count; ++i) {
        server_ports.push_back(kServerPorts[choices.Next(std::size(kServerPorts))]);
        lines.push_back({"server port", "i:" + std::to_string(server_ports.back())});
    }
    // Other settings, with values from the input (printable ASCII).
    for (unsigned count = choices.Next(4), i = 0; i < count; ++i) {
        std::string value;
        for (unsigned length = choices.Next(12); length > 0; --length)
            value += static_cast<char>(' ' + choices.Next(95));
        lines.push_back({"setting " + std::to_string(i), "s:" + value});
    }
    // Shuffled, but "full address" stays the first line of its name.
    for (std::size_t i = 1; i < lines.size(); ++i)
        std::swap(lines[i], lines[1 + choices.Next(static_cast<unsigned>(i))]);

    // What the client would see: a name twice with other values is a conflict.
    bool conflicting = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (std::size_t k = 0; k < i; ++k) {
            conflicting |= lines[i].name == lines[k].name && lines[i].type_and_value != lines[k].type_and_value;
        }
    }
    const unsigned port_otherwise = server_ports.empty() ? 3389 : server_ports.front();
    const unsigned server_port = server.port.value_or(3389);
    bool addresses_are_server = server.our_host;
    for (const Address* address : addresses)
        addresses_are_server &= address->our_host && address->port.value_or(port_otherwise) == server_port;

    // The scope: the names of some lines, each once, in an order of the input's.
    std::vector<std::string> scope_names;
    for (const Line& line : lines) {
        if (std::find(scope_names.begin(), scope_names.end(), line.name) == scope_names.end() && choices.Flag())
            scope_names.push_back(line.name);
    }
    if (scope_names.empty()) scope_names.push_back(lines[choices.Next(static_cast<unsigned>(lines.size()))].name);
    for (std::size_t i = 1; i < scope_names.size(); ++i)
        std::swap(scope_names[i], scope_names[choices.Next(static_cast<unsigned>(i + 1))]);
    const bool scope_names_address =
        std::find(scope_names.begin(), scope_names.end(), "full address") != scope_names.end();

    // Names in either letter case; the lines as they stand are what is signed.
    std::vector<std::string> texts;
    for (const Line& line : lines) texts.push_back(WithNameCase(line.name, choices.Flag()) + ":" + line.type_and_value);
    std::string scope, message;
    for (const std::string& name : scope_names) {
        scope += (scope.empty() ? "" : ",") + WithNameCase(name, true);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].name == name) {
                message += texts[i] + "\r\n";
                break;
            }
        }
    }
    message += "signscope:s:" + scope + "\r\n";
    Bytes utf16;
    for (char c : message) utf16.insert(utf16.end(), {static_cast<std::uint8_t>(c), 0});
    utf16.insert(utf16.end(), {0, 0});
    std::string signature = RdpsignSignatureValue(StandInSignature(utf16), choices.Flag());

    // Tampering after signing: a signed line's value, or the signature.
    bool tampered = false;
    switch (choices.Next(4)) {
        case 1:
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (lines[i].name.starts_with("setting") &&
                    std::find(scope_names.begin(), scope_names.end(), lines[i].name) != scope_names.end()) {
                    texts[i] += "x";
                    tampered = true;
                    break;
                }
            }
            break;
        case 2:
            signature = "AQABAAEAAAA=";
            tampered = true;
            break;
        case 3:
            signature[12 + choices.Next(static_cast<unsigned>(signature.size() - 16))] ^= 1;
            tampered = true;
            break;
    }

    std::string text;
    const char* const line_ends[] = {"\r\n", "\n", "\r"};
    const std::string end = line_ends[choices.Next(3)];
    for (const std::string& line : texts) text += line + end;
    text += WithNameCase("signscope", choices.Flag()) + ":s:" + scope + end;
    text += WithNameCase("signature", choices.Flag()) + ":s:" + signature + end;

    const std::string typed = server.text;
    const bool expected = !conflicting && scope_names_address && addresses_are_server && !tampered;
    const Bytes bytes = Encoded(text, choices.Next(6));
    const CountingVerifier verifier(bytes.size());
    const auto judgement =
        JudgeExistingConnectionFile(bytes, std::wstring(typed.begin(), typed.end()), verifier, Latin1);
    if (judgement.keep != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Choices choices(data, size);
    if (choices.Flag()) {
        JudgeComposedFile(choices);
    } else {
        const CountingVerifier verifier(choices.RestSize());
        JudgeExistingConnectionFile(std::span(choices.Rest(), choices.RestSize()), L"rdp.example.test", verifier,
                                    Latin1);
    }
    return 0;
}
