#pragma once

#include "tools/InputErrorList.h"
#include "tools/InputText.h"
#include "tools/TableInputError.h"

#include <cstddef>
#include <string>
#include <string_view>

struct CodePageTable;
struct WrittenNumber;

// Reads the values of one line of a text the tool reads: a dump or a patch,
// words, numbers and texts in the dump's notation. A step that fails records
// its error, and the caller gives up the rest of the line.
class DumpLineReader {
public:
    // Gives each line of input to reader.ReadLine(text, line) without its
    // line end (LF or CR LF), lines counted from 1, until reader.Stopped();
    // then reader.Finish(line after the last).
    template <typename LineSink>
    static void ReadLines(const std::string& input, LineSink& reader)
    {
        int line = 1;
        std::size_t start = 0;
        while (start < input.size() && !reader.Stopped()) {
            std::size_t end = input.find('\n', start);
            if (end == std::string::npos) {
                end = input.size();
            }
            const std::size_t length = end > start && input[end - 1] == '\r' ? end - start - 1 : end - start;
            reader.ReadLine(std::string_view(input).substr(start, length), line);
            start = end + 1;
            ++line;
        }
        reader.Finish(line);
    }

    DumpLineReader(std::string_view text, int line, const CodePageTable* page, InputErrorList& errors);

    void SkipByteOrderMark();
    bool AtEnd();
    InputPlace Here() const;
    // The run of non-blank characters at the reading position, up to stop where it comes.
    std::string_view Word(char stop = ' ');
    // A number, whose digits end at a blank or at stop.
    bool Number(const char* what, WrittenNumber& number, InputPlace& place, char stop = ' ');
    // A text in quotes with the dump's escapes: \" \\ and \xNN.
    bool Quoted(InputText& bytes, InputPlace& place);
    // The character c, after blanks.
    bool Expect(char c, const char* what);
    bool End();

    // message() gives the words, put together only for an error that is told.
    template <typename Message>
    bool Fail(const InputPlace& place, const Message& message)
    {
        errors.Add(place, message);
        return false;
    }

    // "nothing", or the word quoted as an error quotes input.
    static std::string Found(std::string_view word);

private:
    void SkipBlanks();
    bool QuotedByte(InputText& bytes);
    void QuotedCharacter(InputText& bytes);

    const std::string_view text;
    const int line;
    const CodePageTable* const page;
    InputErrorList& errors;
    std::size_t at = 0;
};
