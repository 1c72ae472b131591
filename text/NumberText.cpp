#include "text/NumberText.h"

#include <climits>
#include <cstring>

int FormatThousands(int value, char* buffer, int size)
{
    std::string text = FormatThousands(value);
    int length = static_cast<int>(text.size());
    if (buffer && size > 0) {
        int copied = length < size ? length : size - 1;
        std::memcpy(buffer, text.data(), copied);
        buffer[copied] = '\0';
    }
    return length;
}

std::string FormatThousands(int value)
{
    // Work on the magnitude as unsigned so that INT_MIN has one too.
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    std::string digits = std::to_string(magnitude);
    std::string text;
    if (value < 0)
        text += '-';
    int count = static_cast<int>(digits.size());
    for (int i = 0; i < count; ++i) {
        text += digits[i];
        int right = count - 1 - i;
        if (right > 0 && right % 3 == 0)
            text += ',';
    }
    return text;
}

int ParseDigits(const char* text)
{
    if (!text)
        return 0;
    int value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            continue;
        int digit = *p - '0';
        if (value > (INT_MAX - digit) / 10)
            value = INT_MAX;
        else
            value = value * 10 + digit;
    }
    return value;
}

bool ReadWholeNumber(const std::string& text, int& value)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return false;
    const size_t end = text.find_last_not_of(" \t") + 1;
    size_t i = first;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+')
        negative = text[i++] == '-';
    long long number = 0;
    bool any = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c == ',' && any)
            continue;
        if (c < '0' || c > '9')
            return false;
        any = true;
        if (number <= INT_MAX)
            number = number * 10 + (c - '0');
    }
    if (!any)
        return false;
    if (negative)
        number = -number;
    value = number > INT_MAX ? INT_MAX : number < INT_MIN ? INT_MIN : static_cast<int>(number);
    return true;
}
