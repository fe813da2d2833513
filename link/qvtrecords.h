// SPDX-License-Identifier: LGPL-2.1-or-later
/* The three records that cross between qvtlink and its clients: the acquisition request,
 * the sample block and the generator table. The client owns them and passes them by pointer;
 * the layouts are byte-exact (packed, little-endian) and shared by the library and the program. */
#pragma once

#ifdef __cplusplus
#include <cstddef>
#include <cstdint>
#define QVT_RECORD_ASSERT(cond, text) static_assert(cond, text)
#else
#include <stddef.h>
#include <stdint.h>
#define QVT_RECORD_ASSERT(cond, text) _Static_assert(cond, text)
#endif

#define QVT_CHANNELS 4
#define QVT_BLOCK_SAMPLES 256      /* samples per channel in one sample block */
#define QVT_GENERATOR_SAMPLES 16000 /* samples in one generator period at most */

#pragma pack(push, 1)

/* One channel's bytes in the acquisition request. */
typedef struct QvtChannelRequest {
  uint8_t enabled; /* 1 = on, 0 = off */
  uint8_t range;   /* forwarded in the channel configuration command */
  uint8_t input;   /* forwarded in the channel configuration command */
} QvtChannelRequest;

/* The 32-byte acquisition request. A start normalises prescaler, trigger level, clock select
 * and timer reload in place, so the record must be writable. */
typedef struct QvtAcquisitionRequest {
  uint8_t reconfigure;                     /* not 0: start with 0x08, 0: start with 0x09 */
  QvtChannelRequest channel[QVT_CHANNELS]; /* channel k at offset 1 + 3k */
  uint8_t unused13[3];
  uint8_t clockSelect; /* 0, 1, 2: 6 MHz, 2 MHz, 10 MHz sample clock */
  uint8_t timerReload; /* one timer period is 256 - reload clock ticks */
  uint8_t unused18[2];
  int32_t prescaler;     /* timer periods per sample, 1..65535 */
  uint8_t triggerSource; /* 0 = none */
  uint8_t triggerEnable;
  uint8_t risingEdge;
  uint8_t unused27;
  int32_t triggerLevel; /* 0..4096 */
} QvtAcquisitionRequest;

/* The 4,112-byte sample block filled by GetUSBData: per-channel counts, then 256 samples per
 * channel (14-bit codes in the interface's two's-complement form, calibrated). */
typedef struct QvtSampleBlock {
  int32_t count[QVT_CHANNELS];
  int32_t samples[QVT_CHANNELS][QVT_BLOCK_SAMPLES];
} QvtSampleBlock;

/* The 64,012-byte generator table: one waveform period. The library clamps the header fields
 * in place and counts `count` down to 0 while it sends the samples. */
typedef struct QvtGeneratorTable {
  int32_t count;      /* samples in one period, 0..16,000 */
  uint8_t clockIndex; /* 0..2 */
  uint8_t unused5[3];
  int32_t timerValue; /* 0..65,535 */
  int32_t samples[QVT_GENERATOR_SAMPLES]; /* 14-bit output codes */
} QvtGeneratorTable;

#pragma pack(pop)

QVT_RECORD_ASSERT(sizeof(QvtAcquisitionRequest) == 32, "acquisition request is 32 bytes");
QVT_RECORD_ASSERT(offsetof(QvtAcquisitionRequest, channel) == 1, "channel bytes at 1");
QVT_RECORD_ASSERT(offsetof(QvtAcquisitionRequest, clockSelect) == 16, "clock select at 16");
QVT_RECORD_ASSERT(offsetof(QvtAcquisitionRequest, timerReload) == 17, "timer reload at 17");
QVT_RECORD_ASSERT(offsetof(QvtAcquisitionRequest, prescaler) == 20, "prescaler at 20");
QVT_RECORD_ASSERT(offsetof(QvtAcquisitionRequest, triggerSource) == 24, "trigger source at 24");
QVT_RECORD_ASSERT(offsetof(QvtAcquisitionRequest, triggerEnable) == 25, "trigger enable at 25");
QVT_RECORD_ASSERT(offsetof(QvtAcquisitionRequest, risingEdge) == 26, "rising edge at 26");
QVT_RECORD_ASSERT(offsetof(QvtAcquisitionRequest, triggerLevel) == 28, "trigger level at 28");
QVT_RECORD_ASSERT(sizeof(QvtSampleBlock) == 4112, "sample block is 4,112 bytes");
QVT_RECORD_ASSERT(offsetof(QvtSampleBlock, samples) == 16, "samples at 16");
QVT_RECORD_ASSERT(sizeof(QvtGeneratorTable) == 64012, "generator table is 64,012 bytes");
QVT_RECORD_ASSERT(offsetof(QvtGeneratorTable, clockIndex) == 4, "clock index at 4");
QVT_RECORD_ASSERT(offsetof(QvtGeneratorTable, timerValue) == 8, "timer value at 8");
QVT_RECORD_ASSERT(offsetof(QvtGeneratorTable, samples) == 12, "samples at 12");

#undef QVT_RECORD_ASSERT
