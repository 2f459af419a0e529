#pragma once

/// Status of every host and module operation that can fail.
namespace Acad
{
enum ErrorStatus
{
    eOk = 0,
    eNotImplemented = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    eKeyNotFound = 6,
    eNotOpenForWrite = 337,
};
} // namespace Acad
