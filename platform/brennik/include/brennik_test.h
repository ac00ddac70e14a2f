// Test control of the kernel layer. Tests only: production code never includes this header.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brennik {
namespace test {

// The next call of the named kernel function (e.g. "BQ_BODY_ask_faces") fails with the code,
// reported through the error callback like any kernel error, without changing anything.
void FailNextCall(const char* function, int code);
// The bulletin board answers on (true) or off (false).
void SetBulletinBoard(bool on);
// The next kernel call reports a fatal error (severity 3) with the code through the error
// callback before doing anything (a callback that returns lets the call fail with the code).
void RaiseFatalInNextCall(int code);
// The next kernel call aborts from inside: it calls the frustrum's abort entry (and fails with
// BQ_ERROR_aborted when the entry returns or there is none).
void AbortInNextCall();
// Clears every pending failure, fatal error and abort; the bulletin board goes off.
void Reset();
// Kernel function names called since the last ClearCallLog, in order (logging while enabled).
void EnableCallLog(bool on);
const std::vector<std::string>& CallLog();
void ClearCallLog();
// Transmit data of the form (binary or text) around a payload, with the header and checksum
// that receive expects: lets tests and fuzzing reach what lies behind the container's check.
std::string SealTransmitData(const std::string& payload, bool binary);
// The payload of transmit data (everything after its header line; empty when none).
std::string TransmitPayload(const std::string& data);
// The size of the body's shape written and read back by OCCT's own binary form, with none of
// transmit's checks: the reference a transmit and receive of the body is measured against. 0
// when the tag is not a body.
std::size_t PlainShapeRoundTrip(int body);
// Starts a fresh session (stopping any running one) with rollback on and argument checks on.
void RestartSession();
// True when the kernel's debug compare finds the two bodies equal (geometry and topology).
bool BodiesEqual(int first, int second);

}  // namespace test
}  // namespace brennik
