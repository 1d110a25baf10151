#pragma once
// The client commands: "#" words found by FindCommand are executed here. Every result
// is a console line (red or green) or the command's help text; wrong word counts print
// the help as the usage message. The interpreter keeps no state between commands; the
// recording state lives in TPathRecorder, the echo flags in the output sink.

#include "CommandHost.h"
#include "config/MudConfigUtils.h"

class TPathRecorder;

class TCommandInterpreter
{
public:
    TCommandInterpreter(TCommandEnv env, TPathRecorder& recorder);

    // words[0] is the command word with its "#"; index from FindCommand.
    void ExecuteCommand(int index, TStringList words);

    // Sections of mudhelp.txt; HIGH, UNHIGH and ? show the sections of their long forms.
    void ShowHelp(int index);
    // Joins the words from the last one holding "{" to the last one holding "}" into
    // one word without those two braces. A "{" without a later "}" groups to the end.
    static void GroupBraces(TStringList& words);
    void SwitchPath(const QByteArray& oldName, const QByteArray& newName);
    // Appends an empty line, the date and time and the text to mudnotiz.txt.
    // False (after the error dialog) when the note could not be written.
    bool AddNote(const QByteArray& text);
    // Prints why name cannot name an alias, path or session; true when it cannot.
    bool RefusedName(const QByteArray& name);

private:
    void ShowReported(bool ok, const QByteArray& okText, const QByteArray& failText);
    void RefreshIfShown(bool ok, int listType);
    void DoAlias(const TStringList& words, const QByteArray& rest);
    void DoAliasDelete(const QByteArray& name);
    void DoTabAdd(const QByteArray& word);
    void DoTabDelete(const QByteArray& word);
    void DoSession(const TStringList& words, const QByteArray& rest);
    void DoSessionDelete(const QByteArray& name);
    void DoPathDelete(const QByteArray& name);
    void DoHighlight(const TStringList& words);
    void DoUnhighlight(const TStringList& words);
    void DoClose();
    void DoOpen(const TStringList& words);
    void DoLog(const TStringList& words);
    void DoEcho(const QByteArray& word);
    void DoKillAll();
    void DoInfo();
    void DoHelp(const TStringList& words);
    void DoDir(const TStringList& words);
    void DoClear();
    void DoNotiz(const TStringList& words);
    void Dispatch(int index, const TStringList& words, const QByteArray& rest);
    void DispatchMore(int index, const TStringList& words);

    TCommandEnv FEnv;
    TPathRecorder& FRecorder;
};
