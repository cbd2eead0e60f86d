#include <gtest/gtest.h>

#include "shell/CException.h"

namespace {

TEST(CExceptionTest, CopiesAndAssignmentsShareTheThrowersText) {
    static const char* const text = "Error loading bitmap! ";
    const CException original(text);
    CException copy(original);
    EXPECT_EQ(copy.getMessage(), text);  // the same pointer, nothing duplicated

    CException other("Error setting timer");
    const CException result = (other = original);
    EXPECT_EQ(other.getMessage(), text);
    EXPECT_EQ(result.getMessage(), text);

    CException& self = other;
    const CException same = (other = self);
    EXPECT_EQ(other.getMessage(), text);
    EXPECT_EQ(same.getMessage(), text);

    try {
        throw CException(text);
    } catch (const CException& caught) {
        EXPECT_STREQ(caught.getMessage(), "Error loading bitmap! ");
    }
}

}  // namespace
