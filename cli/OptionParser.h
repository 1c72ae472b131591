#ifndef MORVEK_CLI_OPTIONPARSER_H
#define MORVEK_CLI_OPTIONPARSER_H

#include <string>
#include <vector>

// Reads a command line against a table of declared options.
//
// How to use:
//   1. Declare every option: AddOption("output", 'o', "FILE", "write the program to FILE").
//   2. Parse(argc, argv); on false, GetError() says what is wrong (a usage error).
//   3. Ask Has("output") / GetValue("output"); the rest are GetArguments().
//
// Accepted forms: --name, --name=value, --name value, -x, -xvalue, -x value,
// flags bundled as -ab, and "--" to end the options ("-" alone is an argument).
class OptionParser {
public:
// Construction
    OptionParser();
    virtual ~OptionParser();

// Operations
    // longName without dashes; shortName 0 for none; valueName null for a flag,
    // else the value's name in the help ("FILE"). False if the name is taken.
    virtual bool AddOption(const char* longName, char shortName, const char* valueName,
                           const char* help);
    // argv[0] is the program and is skipped. Parsing again starts afresh.
    virtual bool Parse(int argc, const char* const* argv);
    // One line per declared option, for the help text.
    virtual std::string FormatOptions() const;

// Attributes
    virtual const std::string& GetError() const;
    virtual bool Has(const char* longName) const;
    // The last value given for the option; empty when it was not given.
    virtual std::string GetValue(const char* longName) const;
    virtual const std::vector<std::string>& GetArguments() const;

private:
    struct Option {
        std::string longName;
        char shortName;
        std::string valueName;                        // empty for a flag
        std::string help;
        bool given;
        std::string value;
    };

    Option* FindLong(const std::string& name);
    Option* FindShort(char name);
    const Option* Find(const char* longName) const;
    bool ParseLong(const std::string& arg, int& i, int argc, const char* const* argv);
    bool ParseShort(const std::string& arg, int& i, int argc, const char* const* argv);
    bool Fail(const std::string& error);

    std::vector<Option> m_options;
    std::vector<std::string> m_arguments;
    std::string m_error;
};

#endif
