#include "shell/CException.h"

CException::CException(const char* message) : message(message) {}

CException::CException(const CException& other) : message(nullptr) {
    CException::copy(other);
}

CException::~CException() = default;

const char* CException::getMessage() const { return message; }

void CException::copy(const CException& other) { message = other.message; }

CException CException::operator=(const CException& other) {
    if (&other != this) copy(other);
    return *this;
}
