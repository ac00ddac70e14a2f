#pragma once
// String parsing and string arrays.
#include <mfc/CArray.h>
#include <mfc/CString.h>

template <class TYPE>
using dovCArray = CArray<TYPE>;

class dovCStringArray : public CArray<CString>
{
};

// Splits `text` at any of the characters of `separators`; runs of separators count as
// one and no empty token is made. Replaces the content of `tokens`; returns its size.
int dovParseString(const char* text, const char* separators, dovCStringArray& tokens);
