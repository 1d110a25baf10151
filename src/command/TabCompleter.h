#pragma once
// Tab completion of the word before the caret: from the completion words first, and
// only when they offer nothing, from the words of the last 25 lines of the output
// history. One candidate completes, several are listed, none leaves the line alone.

#include "CommandHost.h"
#include "config/MudConfigUtils.h"

#include <Qt>

class TTabCompleter
{
public:
    static constexpr int kSearchedOutputLines = 25;

    explicit TTabCompleter(TCommandEnv env);

    // Tab in the input line; always consumed. Exactly Ctrl moves the focus on.
    void MudInputTabKeyPress(Qt::KeyboardModifiers modifiers);
    // text and caret (characters before it) of the input line.
    void CompleteWord(const QByteArray& text, int caret);
    // mnuActionComplete: the last word of the input line becomes a completion word.
    void AddLastWord();

    // The candidates for a prefix, in the order they are offered.
    TStringList Candidates(const QByteArray& prefix) const;
    // A word of the output as offered: only A-Z, a-z, 0-9 and "-" are kept.
    static QByteArray KeptCharacters(const QByteArray& word);

private:
    bool StartsWith(const QByteArray& word, const QByteArray& prefix) const;

    TCommandEnv FEnv;
};
