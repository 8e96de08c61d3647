// The one-line messages zelmo prints when a step against the runtime or the provider fails.
#pragma once

#include <string>

#include "com_base.h"

enum class ToolStep {
    kInitializeCom,
    kFindProvider,
    kCreateDataSource,
    kSetProperties,
    kInitialize,
    kCreateSession,
    kCreateCommand,
    kSetCommandText,
    kExecute,
    kGetSchemaRowset,
    kReadAxisInfo,
    kReadAxis,
    kReadCells,
    kReadRows,
    kRegister,
    kUnregister,
};

// The call that failed, as the message names it ("Initialize", "Execute", ...).
const char* StepName(ToolStep step);

// Why the step failed, in words, from the step and the code. A failure that may be the service's
// (a failed login or Execute) names the service address as the loaded provider reads it from its
// config.txt.
std::string FailureReason(ToolStep step, HRESULT hr);

// "<step> failed: <NAME> (0x........): <reason>"
std::string FailureLine(ToolStep step, HRESULT hr);
