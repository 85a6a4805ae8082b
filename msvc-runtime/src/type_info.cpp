// type_info's destructor and its vtable (??_7type_info@@6B@), which every RTTI record in
// the module points to. The compiler emits a vtable only where an object is
// constructed, and the public type_info has no constructor: this file alone declares
// the class with one, with the same layout (a vtable and two words), and never
// includes <typeinfo>.
class type_info {
 public:
  type_info() noexcept;
  virtual ~type_info() noexcept;

 private:
  [[maybe_unused]] void const* data_[2];
};

type_info::type_info() noexcept : data_{} {}
type_info::~type_info() noexcept {}
