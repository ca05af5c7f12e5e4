#pragma once
// The few Windows-style scalar types and handles the module's code is written with.
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LPCTSTR = const char*;
using LPTSTR = char*;
using TCHAR = char;
using DWORD_PTR = std::uintptr_t;

// A point of a window, in pixels: what mouse messages carry.
struct CPoint
{
	int x = 0;
	int y = 0;
};

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Text literals are UTF-8 on this platform.
#define _T(x) x
#define _TB(x) x

// Opaque window handle: identifies a window (and so the thread that owns it).
struct HWND__ { int unused; };
using HWND = HWND__*;
struct HINSTANCE__ { int unused; };
using HINSTANCE = HINSTANCE__*;
using HMODULE = void*;

#define MAKELONG(lo, hi) ((DWORD)(((WORD)(lo)) | (((DWORD)((WORD)(hi))) << 16)))
#define LOWORD(l) ((WORD)(((DWORD)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD)(l)) >> 16) & 0xffff))
