// Entry points of a KM-207 interface driver library.
//
// Every library exports the same seven functions under its own prefix
// (KSER410_Init, KL4100_Send, ...). The program binds them at run time by
// name; this header fixes their C types so the binding and every driver agree.
#ifndef KM_DRIVER_H
#define KM_DRIVER_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define KM_CALL __stdcall
#else
#define KM_CALL
#endif

// A build that names its exports in a .def file defines KM_EXPORT empty.
#if defined(KM_EXPORT)
#elif defined(_WIN32)
#define KM_EXPORT __declspec(dllexport)
#else
#define KM_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Lengths of the arrays the program hands to a driver.
#define KM_REQUEST_LEN 8 // address, command, P5, B0..B4
#define KM_REPLY_LEN 100 // reply buffer of Send
#define KM_TEXT_LEN 100  // text array of Error
#define KM_CONFIG_LEN 16 // configuration block of the LAN Init

typedef uint32_t(KM_CALL* KmVersionFn)(void);
// Kinds 0 and 1: the COM port number or the ISA base address.
typedef uint32_t(KM_CALL* KmInitValueFn)(uint32_t* handle, uint32_t value);
// Kinds 2 and 3: no parameter.
typedef uint32_t(KM_CALL* KmInitPlainFn)(uint32_t* handle);
// Kind 4: config[0] points to the zero-terminated IP text, [1] UDP port,
// [2] UDP timeout in ms. Pointer-sized cells so the text reference fits.
typedef uint32_t(KM_CALL* KmInitLanFn)(uint32_t* handle, const uintptr_t* config);
typedef uint32_t(KM_CALL* KmSetConfigFn)(uint32_t handle, uint32_t baud, uint32_t timing,
                                         uint32_t retries);
typedef uint32_t(KM_CALL* KmGetConfigFn)(uint32_t handle, uint32_t* baud, uint32_t* timing,
                                         uint32_t* retries);
typedef uint32_t(KM_CALL* KmSendFn)(uint32_t handle, const uint32_t* request, uint32_t* reply,
                                    uint32_t* out, uint32_t* status);
typedef uint32_t(KM_CALL* KmDoneFn)(uint32_t* handle);
typedef uint32_t(KM_CALL* KmErrorFn)(uint32_t code, uint32_t* text);

#ifdef __cplusplus
}
#endif

#endif
