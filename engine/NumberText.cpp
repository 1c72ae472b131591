#include "engine/NumberText.h"

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
