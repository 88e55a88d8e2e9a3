#include "storage/FileProblem.h"

#include <new>
#include <stdexcept>

using Kind = FileProblem::Kind;

FileProblem SystemProblem(int error)
{
    return { .kind = Kind::System, .error = error };
}

FileProblem ExceptionProblem(const std::exception& e)
{
    if (dynamic_cast<const std::bad_alloc*>(&e) || dynamic_cast<const std::length_error*>(&e))
        return { .kind = Kind::NoMemory };
    return { .kind = Kind::Failure, .detail = e.what() };
}
