#pragma once
// Exported calls that act on the whole process and take no interaction tag: the journal and
// how much goes into it, the solver's journal files and the kernel add-on's reports, the
// process-wide defaults and algorithm switches, resetting the toolkit and its version. Each
// ends in the call's ResultType.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

// Journalling. The journal goes to journalPrefix followed directly by fileName
// ("QELJournal.xml" when null or empty); null texts count as empty. includeTessik and
// includeBrennik also start the solver's journal files and the add-on's reports, named from the
// same prefix. ResultTypeFail when a journal is already open (it stays open and the switches
// are still set), ResultTypeCouldNotOpenFile when the file cannot be written.
QEL_API void StartJournalling(const char* journalPrefix, const char* fileName, bool includeTessik,
                              bool includeBrennik, ResultType* result);
// Closes the journal and stops the solver journal files and add-on reports; ResultTypeFail when
// no journal was open or it could not be closed.
QEL_API void StopJournalling(ResultType* result);
QEL_API bool IsJournalling(ResultType* result);
// Under the minimise option the journal leaves out enquiries and the journalling controls.
QEL_API void SetMinimiseJournal(bool minimiseJournal, ResultType* result);
QEL_API bool GetMinimiseJournal(ResultType* result);

// The solver's own journal files. A prefix longer than 999 characters is cut to 999.
QEL_API void SetTessikJournalling(bool tessikJournalling, ResultType* result);
QEL_API bool GetTessikJournalling(ResultType* result);
QEL_API void SetTessikJournallingPrefix(const char* prefix, ResultType* result);
QEL_API void SetTessikJournallingBaseIndex(int baseIndex, ResultType* result);

// The kernel add-on's operation reports. A prefix longer than 999 characters is cut to 999.
QEL_API void SetBrennikJournalling(bool brennikJournalling, ResultType* result);
QEL_API bool GetBrennikJournalling(ResultType* result);
QEL_API void SetBrennikJournallingPrefix(const char* prefix, ResultType* result);
QEL_API void SetBrennikJournallingBaseIndex(int baseIndex, ResultType* result);
// The add-on's report channel; -1 when it has none.
QEL_API int GetReportChannel(ResultType* result);

// Process-wide defaults and algorithm switches.
// Turning it off while more than one interaction is registered gives
// ResultTypeMultipleInteractions; the option is off all the same.
QEL_API void OptionSetAllowMultipleInteractions(bool allowMultipleInteractions, ResultType* result);
QEL_API bool OptionGetAllowMultipleInteractions(ResultType* result);
QEL_API void SetNewPFAlgorithmStatus(bool newPFAlgorithm, ResultType* result);
QEL_API bool GetNewPFAlgorithmStatus(ResultType* result);
QEL_API void SetHXRPFBasedAlgorithmStatus(bool newHXRPFAlgorithm, ResultType* result);
QEL_API bool GetHXRPFBasedAlgorithmStatus(ResultType* result);
// The check-arguments option every new interaction starts with.
QEL_API void OptionSetCheckArgumentsDefault(bool checkArguments, ResultType* result);
QEL_API bool OptionGetCheckArgumentsDefault(ResultType* result);

// Writes the version text "01.02.004" and its terminator (ten characters) into version; a null
// buffer is left alone.
QEL_API void AskVersion(char* version, ResultType* result);

// Destroys every registered interaction and turns allow-multiple-interactions off.
QEL_API void Reset(ResultType* result);
// Empties the registry of interactions without destroying them; runs outside the call frame,
// so it works whatever state the kernel and the journal are in.
QEL_API void SystemReset(ResultType* result);

}  // namespace QEL
