#include "cli/OptionParser.h"

OptionParser::OptionParser()
{
}

OptionParser::~OptionParser()
{
}

bool OptionParser::AddOption(const char* longName, char shortName, const char* valueName,
                             const char* help)
{
    if (longName == nullptr || *longName == '\0' || FindLong(longName) != nullptr ||
        (shortName != 0 && FindShort(shortName) != nullptr))
        return false;
    m_options.push_back(Option{longName, shortName, valueName ? valueName : "",
                               help ? help : "", false, std::string()});
    return true;
}

OptionParser::Option* OptionParser::FindLong(const std::string& name)
{
    for (Option& o : m_options) {
        if (o.longName == name)
            return &o;
    }
    return nullptr;
}

OptionParser::Option* OptionParser::FindShort(char name)
{
    for (Option& o : m_options) {
        if (o.shortName != 0 && o.shortName == name)
            return &o;
    }
    return nullptr;
}

const OptionParser::Option* OptionParser::Find(const char* longName) const
{
    for (const Option& o : m_options) {
        if (longName != nullptr && o.longName == longName)
            return &o;
    }
    return nullptr;
}

bool OptionParser::Fail(const std::string& error)
{
    m_error = error;
    return false;
}

bool OptionParser::Parse(int argc, const char* const* argv)
{
    for (Option& o : m_options) {
        o.given = false;
        o.value.clear();
    }
    m_arguments.clear();
    m_error.clear();

    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i] ? argv[i] : "";
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            m_arguments.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg[1] == '-') {
            if (!ParseLong(arg, i, argc, argv))
                return false;
        } else if (!ParseShort(arg, i, argc, argv)) {
            return false;
        }
    }
    return true;
}

bool OptionParser::ParseLong(const std::string& arg, int& i, int argc, const char* const* argv)
{
    size_t equals = arg.find('=');
    std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    Option* o = FindLong(name);
    if (o == nullptr)
        return Fail("unknown option '--" + name + "'");
    if (o->valueName.empty()) {
        if (equals != std::string::npos)
            return Fail("option '--" + name + "' takes no value");
    } else if (equals != std::string::npos) {
        o->value = arg.substr(equals + 1);
    } else if (i + 1 < argc && argv[i + 1] != nullptr) {
        o->value = argv[++i];
    } else {
        return Fail("option '--" + name + "' needs a value (" + o->valueName + ")");
    }
    o->given = true;
    return true;
}

bool OptionParser::ParseShort(const std::string& arg, int& i, int argc, const char* const* argv)
{
    for (size_t k = 1; k < arg.size(); ++k) {
        Option* o = FindShort(arg[k]);
        if (o == nullptr)
            return Fail(std::string("unknown option '-") + arg[k] + "'");
        o->given = true;
        if (o->valueName.empty())
            continue;
        // The rest of this argument, or else the next one, is the value.
        if (k + 1 < arg.size())
            o->value = arg.substr(k + 1);
        else if (i + 1 < argc && argv[i + 1] != nullptr)
            o->value = argv[++i];
        else
            return Fail(std::string("option '-") + arg[k] + "' needs a value (" + o->valueName + ")");
        return true;
    }
    return true;
}

namespace {

const size_t kHelpWidth = 79;
const size_t kHelpIndent = 26;                        // where the help texts start

// Appends help after a line already filled to column; long texts wrap at
// blanks onto lines indented to kHelpIndent.
void AppendWrapped(std::string& text, size_t column, const std::string& help)
{
    size_t start = 0;
    while (start < help.size()) {
        size_t room = column < kHelpWidth ? kHelpWidth - column : 1;
        size_t end = help.size();
        if (end - start > room) {
            size_t blank = help.rfind(' ', start + room);
            end = blank != std::string::npos && blank > start ? blank : help.find(' ', start + room);
            if (end == std::string::npos)
                end = help.size();
        }
        text.append(help, start, end - start);
        text += '\n';
        start = end;
        while (start < help.size() && help[start] == ' ')
            ++start;
        if (start < help.size()) {
            text.append(kHelpIndent, ' ');
            column = kHelpIndent;
        }
    }
    if (help.empty())
        text += '\n';
}

}  // namespace

std::string OptionParser::FormatOptions() const
{
    std::string text;
    for (const Option& o : m_options) {
        std::string names = o.shortName ? std::string("-") + o.shortName + ", " : "    ";
        names += "--" + o.longName;
        if (!o.valueName.empty())
            names += " " + o.valueName;
        if (names.size() < 24)
            names.resize(24, ' ');
        else
            names += "  ";
        text += "  " + names;
        AppendWrapped(text, 2 + names.size(), o.help);
    }
    return text;
}

const std::string& OptionParser::GetError() const
{
    return m_error;
}

bool OptionParser::Has(const char* longName) const
{
    const Option* o = Find(longName);
    return o != nullptr && o->given;
}

std::string OptionParser::GetValue(const char* longName) const
{
    const Option* o = Find(longName);
    return o != nullptr ? o->value : std::string();
}

const std::vector<std::string>& OptionParser::GetArguments() const
{
    return m_arguments;
}
