// The seven functions every driver library exports, plain C with 32-bit integers. The program
// binds them by name at run time; the caller cleans the stack.
#pragma once

#include <windows.h>

#define T30_DRIVER_API extern "C" __declspec(dllexport)

T30_DRIVER_API int __cdecl Set_VIDPID(int vendorId, int productId);
T30_DRIVER_API int __cdecl Open_DevMonitor(HWND window, int eventMessage, int statusMessage);
T30_DRIVER_API int __cdecl Close_DevMonitor();
T30_DRIVER_API int __cdecl Open_FeatureDevice();
T30_DRIVER_API int __cdecl Close_FeatureDevice();
T30_DRIVER_API int __cdecl SetFeature(unsigned char* report, int length);
T30_DRIVER_API int __cdecl GetFeature(unsigned char* report, int length);
