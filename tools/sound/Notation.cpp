#include "sound/Notation.h"

#include <cctype>
#include <cmath>
#include <sstream>

namespace {

int pitchClass(const std::string& name, std::size_t& pos) {
    static const int letters[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    if (name.empty()) throw std::invalid_argument("empty note name");
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    if (letter < 'a' || letter > 'g') throw std::invalid_argument("bad note name: " + name);
    int pc = letters[letter - 'a'];
    pos = 1;
    if (pos < name.size() && name[pos] == '#') {
        ++pc;
        ++pos;
    } else if (pos < name.size() && name[pos] == 'b') {
        --pc;
        ++pos;
    }
    return (pc + 12) % 12;
}

}  // namespace

int Notation::noteNumber(const std::string& name) {
    if (name == "r") return -1;
    std::size_t pos = 0;
    const int pc = pitchClass(name, pos);
    if (pos + 1 != name.size() || !std::isdigit(static_cast<unsigned char>(name[pos])))
        throw std::invalid_argument("bad note name: " + name);
    const int octave = name[pos] - '0';
    // "cb4" and "b#3" cross the octave boundary the way musicians mean them.
    int midi = (octave + 1) * 12 + pc;
    if (name.size() >= 3 && name[1] == 'b' && pc == 11) midi -= 12;
    if (name.size() >= 3 && name[1] == '#' && pc == 0) midi += 12;
    return midi;
}

Notation::Chord Notation::chord(const std::string& name) {
    std::size_t pos = 0;
    Chord c;
    c.root = pitchClass(name, pos);
    const std::string q = name.substr(pos);
    if (q.empty())
        c.intervals = {0, 4, 7};
    else if (q == "m")
        c.intervals = {0, 3, 7};
    else if (q == "7")
        c.intervals = {0, 4, 7, 10};
    else if (q == "m7")
        c.intervals = {0, 3, 7, 10};
    else if (q == "maj7")
        c.intervals = {0, 4, 7, 11};
    else if (q == "sus2")
        c.intervals = {0, 2, 7};
    else if (q == "sus4")
        c.intervals = {0, 5, 7};
    else if (q == "dim")
        c.intervals = {0, 3, 6};
    else if (q == "aug")
        c.intervals = {0, 4, 8};
    else if (q == "5")
        c.intervals = {0, 7, 7};
    else if (q == "6")
        c.intervals = {0, 4, 7, 9};
    else if (q == "m6")
        c.intervals = {0, 3, 7, 9};
    else if (q == "add9")
        c.intervals = {0, 4, 7, 14};
    else if (q == "m9")
        c.intervals = {0, 3, 7, 14};
    else
        throw std::invalid_argument("bad chord: " + name);
    return c;
}

int Notation::degree(const Chord& chord, const std::string& symbol) {
    std::string s = symbol;
    int shift = 0;
    while (!s.empty() && s[0] == '_') {
        shift -= 12;
        s.erase(0, 1);
    }
    const auto& iv = chord.intervals;
    const int seventh = iv.size() > 3 ? iv[3] : 12;
    int semis = 0;
    if (s == "1")
        semis = 0;
    else if (s == "3")
        semis = iv[1];
    else if (s == "5")
        semis = iv[2];
    else if (s == "7")
        semis = seventh;
    else if (s == "8")
        semis = 12;
    else if (s == "9")
        semis = 14;
    else if (s == "10")
        semis = iv[1] + 12;
    else if (s == "12")
        semis = iv[2] + 12;
    else if (s == "15")
        semis = 24;
    else
        throw std::invalid_argument("bad chord degree: " + symbol);
    return semis + shift;
}

std::vector<Notation::Token> Notation::tokens(const std::string& text) {
    std::vector<Token> out;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        Token t;
        if (word == "|") {
            t.symbol = word;
            t.steps = 0;
            out.push_back(t);
            continue;
        }
        if (word.back() == '!') {
            t.velocity = 1.25f;
            word.pop_back();
        } else if (word.back() == '?') {
            t.velocity = 0.6f;
            word.pop_back();
        }
        const std::size_t colon = word.find(':');
        if (colon == std::string::npos) {
            t.symbol = word;
        } else {
            t.symbol = word.substr(0, colon);
            t.steps = std::stoi(word.substr(colon + 1));
            if (t.steps <= 0) throw std::invalid_argument("bad length: " + word);
        }
        out.push_back(t);
    }
    return out;
}

float Notation::frequency(float midi) {
    return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f);
}
