#pragma once
// Result codes and event numbers the player and its media layer share.
#include <cstdint>

using HRESULT = int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT E_FILE_NOT_FOUND = static_cast<HRESULT>(0x80070002);
constexpr HRESULT MF_E_INVALIDREQUEST = static_cast<HRESULT>(0xC00D36B2);
constexpr HRESULT MF_E_INVALIDTYPE = static_cast<HRESULT>(0xC00D36BD);
constexpr HRESULT MF_E_UNSUPPORTED_BYTESTREAM_TYPE = static_cast<HRESULT>(0xC00D36C4);
constexpr HRESULT MF_E_NO_CLOCK = static_cast<HRESULT>(0xC00D36D7);
constexpr HRESULT MF_E_SHUTDOWN = static_cast<HRESULT>(0xC00D3E85);
constexpr HRESULT MF_E_NOT_VIDEO = static_cast<HRESULT>(0xC00DABE7);
constexpr HRESULT MF_E_NOT_AUDIO_OR_VIDEO = static_cast<HRESULT>(0xC00DABE8);
constexpr HRESULT MF_E_TIMEOUT = static_cast<HRESULT>(0x800705B4);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// Event types, numbered as the player's handlers expect them.
constexpr uint32_t MEError = 1;
constexpr uint32_t MESessionTopologySet = 101;
constexpr uint32_t MESessionStarted = 103;
constexpr uint32_t MESessionPaused = 104;
constexpr uint32_t MESessionStopped = 105;
constexpr uint32_t MESessionClosed = 106;
constexpr uint32_t MESessionEnded = 107;
constexpr uint32_t MESessionRateChanged = 108;
constexpr uint32_t MESessionCapabilitiesChanged = 110;
constexpr uint32_t MESessionTopologyStatus = 111;
constexpr uint32_t MESessionNotifyPresentationTime = 112;
constexpr uint32_t MENewPresentation = 113;
constexpr uint32_t MEEndOfPresentation = 211;

constexpr uint32_t MF_TOPOSTATUS_READY = 100;
constexpr uint32_t WAIT_TIMEOUT_RESULT = 258;

// 100-ns units per second and per millisecond.
constexpr uint64_t HnsPerSecond = 10000000;
constexpr uint64_t HnsPerMs = 10000;
