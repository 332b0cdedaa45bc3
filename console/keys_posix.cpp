// Keys on POSIX systems: the bytes of one key press read whole from the
// held terminal, and told apart as a KeyPress.
#include "console.h"
#include "posix.h"

#include <cstdint>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {

// The bytes of one key press; several characters when they came at once.
struct Key {
    unsigned char bytes[sizeof KeyPress::text];
    int count = 0; // 0: the end of input or a read error; -1: a resize
};

struct Keys {
    // A byte read after a key that belongs to the next one (an Enter after
    // a symbol), given back for it.
    int pushedBack = -1;
    // The last key read, and when: for KeyPress::repeat.
    Key last;
    long long lastAt = 0;
};

Keys keys;

// The next byte of the key being read, when it comes within the pause
// with which a terminal sends one key's bytes; false when none does, or
// when the key has no room for it (it is then the next key's).
bool nextByte(Key& key, unsigned char& byte)
{
    const timespec pause = {0, 50'000'000}; // a lone ESC is the Escape key
    if (key.count == static_cast<int>(sizeof key.bytes) || sleepOn(&pause) != 1 ||
        read(heldTerminal(), &byte, 1) != 1)
        return false;
    key.bytes[key.count++] = byte;
    return true;
}

// An escape sequence after ESC: an arrow ESC [ A, F5 ESC [ 1 5 ~, the Linux
// console's F1 ESC [ [ A, SS3 keys ESC O P and with a modifier ESC O 2 P,
// any of these after ESC for Alt.
void readSequence(Key& key)
{
    unsigned char byte = 0;
    if (!nextByte(key, byte) || (byte == 0x1b && !nextByte(key, byte)))
        return;
    if (byte == '[') {
        if (nextByte(key, byte) && byte == '[')
            nextByte(key, byte);
        while ((byte < 0x40 || byte > 0x7e) && nextByte(key, byte)) {
        }
    } else if (byte == 'O') {
        while (nextByte(key, byte) && ((byte >= '0' && byte <= '9') || byte == ';')) {
        }
    }
}

// The rest of a UTF-8 character whose first byte is lead; after a symbol
// (U+2600 on: an emoji, with its skin tone, selector or joined emoji) or a
// wide character, what comes at once with it, as a paste does, whole
// characters as long as the key has room. A byte that starts no
// character is given back for the next key.
void readCharacters(Key& key, unsigned char lead)
{
    for (;;) {
        int more = lead >= 0xf0 ? 3 : lead >= 0xe0 ? 2 : lead >= 0xc0 ? 1 : 0;
        std::uint32_t code = lead & (0x7fU >> more);
        unsigned char byte = 0;
        while (more-- > 0 && nextByte(key, byte))
            code = code << 6 | (byte & 0x3fU);
        if ((code < 0x2600 && code != 0x200d) ||
            key.count + 4 > static_cast<int>(sizeof key.bytes) || !nextByte(key, byte))
            return;
        if (byte < 0xc0) {
            keys.pushedBack = byte;
            --key.count;
            return;
        }
        lead = byte;
    }
}

// One key press at the held terminal, without echo; with events, a resize
// or a continue after a stop ends the wait too (count -1).
Key readKey(bool events)
{
    Key key;
    unsigned char first = 0;
    if (keys.pushedBack >= 0) {
        first = static_cast<unsigned char>(keys.pushedBack);
        keys.pushedBack = -1;
    } else {
        const int got = waitForByte(first, events);
        if (got <= 0) {
            key.count = got;
            return key;
        }
    }
    key.bytes[key.count++] = first;
    if (first == 0x1b)
        readSequence(key);
    else if (first >= 0xc0)
        readCharacters(key, first);
    return key;
}

long long nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

// A held key repeats every 30 to 100 ms; a key typed again after this
// long is a key of its own.
constexpr long long repeatMs = 200;

using Kind = KeyPress::Kind;

// An arrow, Home or End by its escape sequence (ESC [ C, ESC O H,
// ESC [ 1 ~ ...); other for any other sequence.
Kind sequenceKind(const Key& key)
{
    const unsigned char* b = key.bytes;
    const unsigned char last = b[key.count - 1];
    if (key.count < 3 || b[0] != 0x1b || (b[1] != '[' && b[1] != 'O'))
        return Kind::other;
    if (key.count == 3) {
        switch (last) {
        case 'C':
            return Kind::right;
        case 'D':
            return Kind::left;
        case 'H':
            return Kind::home;
        case 'F':
            return Kind::end;
        default:
            return Kind::other;
        }
    }
    if (key.count == 4 && last == '~' && (b[2] == '1' || b[2] == '4'))
        return b[2] == '1' ? Kind::home : Kind::end;
    return Kind::other;
}

// A key of one byte: a control key, or other for a character.
Kind controlKind(unsigned char byte)
{
    switch (byte) {
    case 0x04:
        return Kind::endOfInput; // Ctrl-D
    case 0x1b:
        return Kind::escape;
    case '\r':
    case '\n':
        return Kind::enter;
    case 0x7f:
    case 0x08:
        return Kind::backspace;
    default:
        return Kind::other;
    }
}

KeyPress pressOf(const Key& key)
{
    KeyPress press;
    if (key.count <= 0) {
        press.kind = key.count < 0 ? Kind::redraw : Kind::hangUp;
        return press;
    }
    const unsigned char first = key.bytes[0];
    press.kind = key.count == 1 ? controlKind(first) : sequenceKind(key);
    const bool character = (first >= 0x20 && first != 0x7f) || first == '\t';
    if (press.kind == Kind::other && character) {
        press.kind = Kind::text;
        press.length = key.count;
        std::memcpy(press.text, key.bytes, static_cast<std::size_t>(key.count));
    }
    return press;
}

} // namespace

KeyPress readStepKey(const char* hint)
{
    if (heldTerminal() < 0)
        holdTerminal(stepKeysFd()); // from the first key on, until releaseStepKeys
    if (heldTerminal() < 0)
        return pressOf(Key{});
    flushOutput();
    char erase[256];
    int eraseLength = 0;
    if (hint != nullptr) {
        showHint(hint);
        eraseLength = eraseHintText(hint, erase, sizeof erase);
        standingHint(erase, eraseLength);
    }
    const Key key = readKey(true);
    if (hint != nullptr) {
        standingHint(nullptr, 0);
        eraseHint(hint);
    }
    KeyPress press = pressOf(key);
    const long long now = nowMs();
    press.repeat =
        key.count > 0 && key.count == keys.last.count &&
        std::memcmp(key.bytes, keys.last.bytes, static_cast<std::size_t>(key.count)) == 0 &&
        now - keys.lastAt < repeatMs;
    if (key.count >= 0) {
        keys.last = key;
        keys.lastAt = now;
    }
    return press;
}

void waitForKey()
{
    if (console.keyWait != nullptr && console.keyWait())
        return;
    flushOutput(); // everything printed so far is on the screen while we wait
    if (!keyWaits())
        return;
    holdTerminal(STDIN_FILENO);
    if (heldTerminal() >= 0)
        readKey(false);
    releaseTerminal();
}
