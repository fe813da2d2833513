// SPDX-License-Identifier: LGPL-2.1-or-later
/* The exported C interface of qvtlink, the library that alone talks to the Vexor QVT II.
 *
 * Every operation exists twice: the plain name uses the callee-cleans convention and takes
 * counted 8-bit strings; the underscored name uses the caller-cleans convention and takes
 * counted UTF-16 strings (only the low byte of each unit is kept). A counted string is a
 * pointer to its first character with its byte count (uint32) stored just before it; build
 * and free them with qvtstring.h. `_IsBusy` has no plain twin; the version query's twins are
 * `GetVersionSysteme` and `_GetVersion`.
 *
 * A counted block is an int32 byte count followed by the bytes.
 * Handles are nonzero int32 values from SetPortOpen; 0 means no port. No export throws or
 * shows anything: every outcome is the return value. Without the service thread the library
 * must be called from one thread at a time. */
#pragma once

#include "qvtrecords.h"

#ifdef __cplusplus
#include <cstdint>
#else
#include <stdint.h>
#include <uchar.h>
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define QVTLINK_STDCALL __stdcall
#define QVTLINK_CDECL __cdecl
#elif defined(__i386__) && defined(__GNUC__)
#define QVTLINK_STDCALL __attribute__((stdcall))
#define QVTLINK_CDECL __attribute__((cdecl))
#else
/* One calling convention only (x86-64, ARM): both macros are empty. */
#define QVTLINK_STDCALL
#define QVTLINK_CDECL
#endif

#if defined(_WIN32)
/* Windows builds take the undecorated export names from the module-definition file. */
#define QVTLINK_EXPORT
#elif defined(__GNUC__)
#define QVTLINK_EXPORT __attribute__((visibility("default")))
#else
#define QVTLINK_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Opens "\\.\" + name (at most 54 characters) and identifies the interface.
 * Returns the handle, 0 when the name is too long or the device cannot be opened. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL SetPortOpen(const char* name);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _SetPortOpen(const char16_t* name);

/* Releases the handle's driver. Always 1. Does not stop the service thread. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL SetPortClose(int32_t handle);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _SetPortClose(int32_t handle);

/* Identify: packet size 64 (full speed) or 512 (high speed), and the four channel gains.
 * 0 when the interface does not answer (packet size and gains then keep their values). */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL DefineUSB(int32_t handle);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _DefineUSB(int32_t handle);

/* Version text. GetVersionSysteme replaces *version (a counted UTF-16 string or null, freed
 * with qvt::FreeCountedString) by the reply bytes read as UTF-16 units up to the first zero
 * unit. _GetVersion writes the reply bytes and a zero byte to buffer (at least 65 bytes).
 * 1 on success, 0 on failure (output untouched). */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL GetVersionSysteme(int32_t handle, char16_t** version);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _GetVersion(int32_t handle, char* buffer);

/* Status byte of the interface, sign-extended; not 0 means ready. 0 when the query fails. */
QVTLINK_EXPORT int32_t QVTLINK_CDECL _IsBusy(int32_t handle);

/* Starts an acquisition (normalising *request in place); with the service thread running the
 * start is posted and *request must stay valid until the thread has sent it. Always 0. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL LanceAcqui(int32_t handle, QvtAcquisitionRequest* request);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _LanceAcqui(int32_t handle, QvtAcquisitionRequest* request);

/* Stops the acquisition (posted to the service thread when it runs). Always 0. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL StopAcqui(int32_t handle);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _StopAcqui(int32_t handle);

/* Posts a slow-acquisition stop; only the service thread sends it. */
QVTLINK_EXPORT void QVTLINK_STDCALL StopAcquiLENTE(void);
QVTLINK_EXPORT void QVTLINK_CDECL _StopAcquiLENTE(void);

/* Fetches one sample packet into *block for the channels enabled in *request. Returns the
 * number of 16-bit words received; 0 (block untouched) when nothing was fetched. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL GetUSBData(int32_t handle, QvtSampleBlock* block,
                                                   const QvtAcquisitionRequest* request);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _GetUSBData(int32_t handle, QvtSampleBlock* block,
                                                  const QvtAcquisitionRequest* request);

/* Raw read into a counted block: its count is the maximum on entry and the bytes read on
 * return. Returns the bytes read. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL GetUSBDataX(int32_t handle, void* block, int32_t pipe);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _GetUSBDataX(int32_t handle, void* block, int32_t pipe);

/* Raw write of a counted block's bytes. 1 if any byte was written, else 0. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL SendUSBDataX(int32_t handle, const void* block, int32_t pipe);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _SendUSBDataX(int32_t handle, const void* block, int32_t pipe);

/* One transfer on a pipe (read or write by the pipe's direction). GetPipe returns the bytes
 * moved; SendPipe returns 1 if any byte moved, else 0. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL GetPipe(int32_t handle, void* buffer, int32_t length, int32_t pipe);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _GetPipe(int32_t handle, void* buffer, int32_t length, int32_t pipe);
QVTLINK_EXPORT int32_t QVTLINK_STDCALL SendPipe(int32_t handle, const void* buffer, int32_t length, int32_t pipe);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _SendPipe(int32_t handle, const void* buffer, int32_t length, int32_t pipe);

/* Loads one waveform period and starts the generator (command 0x03 when mode is 1, else 0x02).
 * With the service thread running the load is posted and *table must stay valid until sent.
 * Without a successful identify the load is refused: no traffic, table untouched. Always 0. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL LanceGenerateur(int32_t handle, unsigned char mode,
                                                        QvtGeneratorTable* table);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _LanceGenerateur(int32_t handle, unsigned char mode,
                                                       QvtGeneratorTable* table);

/* Stops the generator: 1 if the stop command was written, 0 if not (0 when posted). */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL StopGenerateur(int32_t handle);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _StopGenerateur(int32_t handle);

/* Replaces the four channel gains; with send exactly 1 also writes them to the interface.
 * Returns 0. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL SendAdjust(int32_t handle, double gain0, double gain1,
                                                   double gain2, double gain3, int32_t send);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _SendAdjust(int32_t handle, double gain0, double gain1,
                                                  double gain2, double gain3, int32_t send);

/* Copies the four gains out (null pointers are skipped); no device exchange. */
QVTLINK_EXPORT void QVTLINK_STDCALL GetAdjust(int32_t handle, double* gain0, double* gain1,
                                              double* gain2, double* gain3);
QVTLINK_EXPORT void QVTLINK_CDECL _GetAdjust(int32_t handle, double* gain0, double* gain1,
                                             double* gain2, double* gain3);

/* Loads an Intel HEX file (name at most 61 characters) into the interface's USB controller,
 * opening the device by name (at most 49 characters) with a handle of its own. Returns 0;
 * 1 (plain) or 254 (underscored) when the device cannot be opened or its name is too long. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL SendBOOT(const char* device, const char* file);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _SendBOOT(const char16_t* device, const char16_t* file);

/* Queues bytes for the service thread to send on the H8 link. Bytes beyond the room left in
 * the 1,000,000-byte queue are dropped. Returns the number of bytes queued. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL SendH8(const void* block);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _SendH8(const void* data, int32_t length);

/* Takes up to maximum received H8 bytes followed by a zero byte (room for maximum + 1 bytes;
 * the plain twin writes 4 bytes into the block and leaves its count alone). The last argument
 * is ignored. Returns the bytes delivered. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL GetH8(void* block, int32_t maximum, unsigned char ignored);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _GetH8(void* buffer, int32_t maximum, unsigned char ignored);

/* Bytes waiting in the H8 receive buffer. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL GetLenH8(void);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _GetLenH8(void);

/* Bytes still in the H8 send queue (the queue is left as it is). */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL EmptyBuffer(void);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _EmptyBuffer(void);

/* H8 link speed code 0 or 1 (larger codes become 1). 0 done; 253 the link does not accept
 * bytes; 254 the service thread runs. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL ChangeVitesse(int32_t handle, int32_t speed);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _ChangeVitesse(int32_t handle, int32_t speed);

/* Starts the service thread on the handle; it serialises device traffic and pumps the H8
 * link. Returns 0. Stop it with StopTHREAD before closing the handle. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL LanceTHREAD(int32_t handle);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _LanceTHREAD(int32_t handle);

/* Asks the service thread to end after its current pass. */
QVTLINK_EXPORT void QVTLINK_STDCALL StopTHREAD(void);
QVTLINK_EXPORT void QVTLINK_CDECL _StopTHREAD(void);

/* 1 while the service thread runs, else 0. */
QVTLINK_EXPORT int32_t QVTLINK_STDCALL IsRunTHREAD(void);
QVTLINK_EXPORT int32_t QVTLINK_CDECL _IsRunTHREAD(void);

#ifdef __cplusplus
}
#endif
