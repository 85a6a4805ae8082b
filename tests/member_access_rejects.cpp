// Member signatures whose calling convention cannot be decided. Each case must
// fail to compile with its own message, and with no case chosen the file must
// compile (member_access_rejects.cmake runs both).
#include "host/member_access.h"

namespace kestrova {

// Every kind the rules decide, so that a failure below is the case's own.
inline constexpr Method<UObject, FString(FName, TSubclassOf<UObject>, UE::Math::TVector<double>, float, bool)>
    kDecided{"UObject.Decided(FName,TSubclassOf<UObject>,UE::Math::TVector<double>,float,bool)"};
inline constexpr Static<TSubclassOf<UObject>(FString&)> kDecidedStatic{"UObject.DecidedStatic(FString&)"};

struct Undeclared {
    int value = 0;
};

// Declared as the game's plain aggregate, while the sdk's copy runs code on copy.
struct CountedCopy {
    CountedCopy() = default;
    CountedCopy(const CountedCopy& other) : value(other.value + 1) {}
    int value = 0;
};

}  // namespace kestrova

template <>
struct GameClass<kestrova::CountedCopy> {
    static constexpr GameClassDefinition kDefinition{.trivialCopyAndDestruction = true};
};

namespace kestrova {

#if defined(UNDECLARED_RESULT)
inline constexpr Static<Undeclared()> kCase{"UObject.Undeclared()"};
#elif defined(UNDECLARED_ARGUMENT)
inline constexpr Method<UObject, void(Undeclared)> kCase{"UObject.Undeclared(Undeclared)"};
#elif defined(STRING_BY_VALUE)
inline constexpr Method<UObject, void(FString)> kCase{"UObject.Takes(FString)"};
#elif defined(SDK_COPY_NOT_TRIVIAL)
inline constexpr Method<UObject, void(CountedCopy)> kCase{"UObject.Takes(CountedCopy)"};
#elif defined(LONG_DOUBLE)
inline constexpr Method<UObject, void(long double)> kCase{"UObject.Takes(longdouble)"};
#elif defined(MEMBER_POINTER_RESULT)
inline constexpr Static<int UObject::*()> kCase{"UObject.Member()"};
#endif

}  // namespace kestrova
