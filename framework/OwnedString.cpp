#include "framework/OwnedString.h"

#include <cstring>

int ReplaceOwnedString(char*& slot, const char* text)
{
    char* copy = nullptr;
    size_t length = 0;
    if (text != nullptr) {
        length = std::strlen(text);
        copy = new char[length + 1];
        std::memcpy(copy, text, length + 1);
    }
    delete[] slot;
    slot = copy;
    return static_cast<int>(length);
}
