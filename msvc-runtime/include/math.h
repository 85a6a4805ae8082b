// Wine's <math.h>, completed as Microsoft's: the long double functions (long double is
// double on Windows; the C89 ones inline over the double ones, ucrtbase.dll exports
// the C99 ones), the few others Wine lacks, and in C++ the classification functions
// as functions, not macros, so that <cmath> can bring them into std.
#pragma once
#include_next <math.h>
#ifdef __cplusplus
extern "C" {
#endif
static __inline long double __cdecl acosl(long double _X) { return acos((double)_X); }
static __inline long double __cdecl asinl(long double _X) { return asin((double)_X); }
static __inline long double __cdecl atanl(long double _X) { return atan((double)_X); }
static __inline long double __cdecl ceill(long double _X) { return ceil((double)_X); }
static __inline long double __cdecl cosl(long double _X) { return cos((double)_X); }
static __inline long double __cdecl coshl(long double _X) { return cosh((double)_X); }
static __inline long double __cdecl expl(long double _X) { return exp((double)_X); }
static __inline long double __cdecl fabsl(long double _X) { return fabs((double)_X); }
static __inline long double __cdecl floorl(long double _X) { return floor((double)_X); }
static __inline long double __cdecl logl(long double _X) { return log((double)_X); }
static __inline long double __cdecl log10l(long double _X) { return log10((double)_X); }
static __inline long double __cdecl sinl(long double _X) { return sin((double)_X); }
static __inline long double __cdecl sinhl(long double _X) { return sinh((double)_X); }
static __inline long double __cdecl sqrtl(long double _X) { return sqrt((double)_X); }
static __inline long double __cdecl tanl(long double _X) { return tan((double)_X); }
static __inline long double __cdecl tanhl(long double _X) { return tanh((double)_X); }
static __inline long double __cdecl atan2l(long double _X, long double _Y) { return atan2((double)_X, (double)_Y); }
static __inline long double __cdecl fmodl(long double _X, long double _Y) { return fmod((double)_X, (double)_Y); }
static __inline long double __cdecl hypotl(long double _X, long double _Y) { return hypot((double)_X, (double)_Y); }
static __inline long double __cdecl powl(long double _X, long double _Y) { return pow((double)_X, (double)_Y); }
static __inline long double __cdecl frexpl(long double _X, int* _Y) { return frexp((double)_X, _Y); }
static __inline long double __cdecl ldexpl(long double _X, int _Y) { return ldexp((double)_X, _Y); }
static __inline long double __cdecl modfl(long double _X, long double* _Y) {
  double _Whole;
  double const _Fraction = modf((double)_X, &_Whole);
  *_Y = _Whole;
  return _Fraction;
}
_ACRTIMP long double __cdecl acoshl(long double);
_ACRTIMP long double __cdecl asinhl(long double);
_ACRTIMP long double __cdecl atanhl(long double);
_ACRTIMP long double __cdecl cbrtl(long double);
_ACRTIMP long double __cdecl erfl(long double);
_ACRTIMP long double __cdecl erfcl(long double);
_ACRTIMP long double __cdecl exp2l(long double);
_ACRTIMP long double __cdecl expm1l(long double);
_ACRTIMP long double __cdecl lgammal(long double);
_ACRTIMP long double __cdecl log1pl(long double);
_ACRTIMP long double __cdecl log2l(long double);
_ACRTIMP long double __cdecl logbl(long double);
_ACRTIMP long double __cdecl nearbyintl(long double);
_ACRTIMP long double __cdecl rintl(long double);
_ACRTIMP long double __cdecl roundl(long double);
_ACRTIMP long double __cdecl tgammal(long double);
_ACRTIMP long double __cdecl truncl(long double);
_ACRTIMP long double __cdecl copysignl(long double, long double);
_ACRTIMP long double __cdecl fdiml(long double, long double);
_ACRTIMP long double __cdecl fmaxl(long double, long double);
_ACRTIMP long double __cdecl fminl(long double, long double);
_ACRTIMP long double __cdecl nextafterl(long double, long double);
_ACRTIMP long double __cdecl remainderl(long double, long double);
_ACRTIMP long double __cdecl fmal(long double, long double, long double);
_ACRTIMP int __cdecl ilogbl(long double);
_ACRTIMP long long __cdecl llrintl(long double);
_ACRTIMP long long __cdecl llroundl(long double);
_ACRTIMP long __cdecl lrintl(long double);
_ACRTIMP long __cdecl lroundl(long double);
_ACRTIMP long double __cdecl nanl(char const*);
_ACRTIMP long double __cdecl nexttowardl(long double, long double);
_ACRTIMP long double __cdecl remquol(long double, long double, int*);
_ACRTIMP long double __cdecl scalblnl(long double, long);
_ACRTIMP long double __cdecl scalbnl(long double, int);

_ACRTIMP double __cdecl erfc(double);
_ACRTIMP float __cdecl erfcf(float);
_ACRTIMP double __cdecl fma(double, double, double);
_ACRTIMP float __cdecl fmaf(float, float, float);
_ACRTIMP double __cdecl nan(char const*);
_ACRTIMP float __cdecl nanf(char const*);
_ACRTIMP double __cdecl nexttoward(double, long double);
_ACRTIMP float __cdecl nexttowardf(float, long double);
typedef float float_t;
typedef double double_t;
#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
#undef fpclassify
#undef signbit
#undef isinf
#undef isnan
#undef isnormal
#undef isfinite
#undef isgreater
#undef isgreaterequal
#undef isless
#undef islessequal
#undef islessgreater
#undef isunordered
extern "C++" {
inline int fpclassify(float _X) noexcept { return _fdclass(_X); }
inline int fpclassify(double _X) noexcept { return _dclass(_X); }
inline int fpclassify(long double _X) noexcept { return _dclass(static_cast<double>(_X)); }
inline bool signbit(float _X) noexcept { return _fdsign(_X) != 0; }
inline bool signbit(double _X) noexcept { return _dsign(_X) != 0; }
inline bool signbit(long double _X) noexcept { return _dsign(static_cast<double>(_X)) != 0; }
// An integer argument is classified as the double it converts to.
template <class _Ty> inline int fpclassify(_Ty _X) noexcept { return fpclassify(static_cast<double>(_X)); }
template <class _Ty> inline bool signbit(_Ty _X) noexcept { return signbit(static_cast<double>(_X)); }
template <class _Ty> inline bool isinf(_Ty _X) noexcept { return fpclassify(_X) == FP_INFINITE; }
template <class _Ty> inline bool isnan(_Ty _X) noexcept { return fpclassify(_X) == FP_NAN; }
template <class _Ty> inline bool isnormal(_Ty _X) noexcept { return fpclassify(_X) == FP_NORMAL; }
template <class _Ty> inline bool isfinite(_Ty _X) noexcept {
  int const _C = fpclassify(_X);
  return _C != FP_INFINITE && _C != FP_NAN;
}
template <class _T1, class _T2> inline bool isunordered(_T1 _X, _T2 _Y) noexcept { return isnan(_X) || isnan(_Y); }
template <class _T1, class _T2> inline bool isgreater(_T1 _X, _T2 _Y) noexcept { return !isunordered(_X, _Y) && _X > _Y; }
template <class _T1, class _T2> inline bool isgreaterequal(_T1 _X, _T2 _Y) noexcept {
  return !isunordered(_X, _Y) && _X >= _Y;
}
template <class _T1, class _T2> inline bool isless(_T1 _X, _T2 _Y) noexcept { return !isunordered(_X, _Y) && _X < _Y; }
template <class _T1, class _T2> inline bool islessequal(_T1 _X, _T2 _Y) noexcept {
  return !isunordered(_X, _Y) && _X <= _Y;
}
template <class _T1, class _T2> inline bool islessgreater(_T1 _X, _T2 _Y) noexcept {
  return !isunordered(_X, _Y) && _X != _Y;
}
}
#endif
