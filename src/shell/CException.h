// The game's one exception type: thrown by value when something the game
// cannot run without fails to come into being, caught only at the entry
// point, which shows the message.
#pragma once

class CException {
public:
    // message must outlive every copy (the throw sites pass string literals).
    explicit CException(const char* message);
    CException(const CException& other);
    virtual ~CException();

    virtual const char* getMessage() const;
    virtual void copy(const CException& other);
    virtual CException operator=(const CException& other);

private:
    const char* message;
};
