#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "model/appexception.h"
#include "model/list.h"
#include "model/wordentry.h"

// A dictionary line that is not an entry.
class MalformedEntry : public AppException {
public:
    MalformedEntry();
    std::string toString() const override;
};

// An entry line parts its words from its translations at its one "=", and the items of each side
// at ",". Without exactly one "=" the line is cut at white space instead.
constexpr char sideSeparator = '=';
constexpr char itemSeparator = ',';

// Cuts one entry line (already stripped at its start, comment cut off) into its words and
// translations. Throws MalformedEntry for a line that is not an entry.
WordEntry entryFromLine(const std::string& line);

// One opened dictionary while it is drilled. Its entries are either still to be answered or
// answered since loading or the last restart; the current entry is a position among the former.
// Every operation is virtual. What the parser hands over can be watched by overriding addEntry and
// setTitle: the checker keeps the entry lines for its listing and its warnings, the tests record
// them, and the load benchmark drops them to time the parser alone.
class WordList {
public:
    WordList();
    virtual ~WordList();
    WordList(const WordList&) = delete;
    WordList& operator=(const WordList&) = delete;

    // Adds the entry in front of the remaining ones; throws MalformedEntry, adding nothing.
    virtual void addEntry(const std::string& line);
    virtual void setTitle(const std::string& title);
    virtual std::string title() const;
    // Normal: the word is asked and a translation expected; otherwise the other way round.
    virtual void setNormalMode(bool normalMode);

    // Picks the current entry at random among the remaining ones; false when none remains.
    virtual bool drawNext();
    // These four work on the current entry and throw the list's Exception when the current
    // position is not one of the remaining entries (no draw since the last markAnswered).
    virtual std::string question() const;
    virtual std::string answer() const;
    virtual bool guess(const std::string& guess);
    virtual void markAnswered();
    // Moves every answered entry back in front of the remaining ones and zeroes the guess counts.
    virtual void restart();

    virtual std::uint32_t answeredCount() const;
    virtual std::uint32_t remainingCount() const;
    virtual std::uint32_t correctCount() const;
    virtual std::uint32_t incorrectCount() const;

private:
    const WordEntry& currentEntry() const;

    // A deque never moves what it holds, so the lists can point into it; it also spares one
    // allocation per entry.
    std::deque<WordEntry> entries_;
    std::uint32_t current_ = 0;
    List<const WordEntry*> remaining_;
    List<const WordEntry*> answered_;
    std::uint32_t correct_ = 0;
    std::uint32_t incorrect_ = 0;
    std::string title_;
    bool normalMode_ = false;
};
