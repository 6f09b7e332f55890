#pragma once
// COM apartment scope and a move-only interface pointer.
#include <objbase.h>

#include <utility>

// Joins the calling thread to a single-threaded apartment for one scope.
// Only a call that succeeded (S_OK or S_FALSE) is balanced: uninitialising
// after a refused call would take away an apartment that someone else holds.
class ComApartment {
public:
    ComApartment() : result_(CoInitialize(nullptr)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }

    [[nodiscard]] HRESULT result() const { return result_; }

private:
    HRESULT result_;
};

// Owns one reference to a COM interface and releases it at scope end.
template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.pointer_, nullptr));
        return *this;
    }
    ~ComPtr() { reset(); }

    [[nodiscard]] Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // For the out-parameter of CoCreateInstance or QueryInterface.
    [[nodiscard]] void** put() {
        reset();
        return reinterpret_cast<void**>(&pointer_);
    }
    void reset(Interface* pointer = nullptr) {
        if (pointer_) pointer_->Release();
        pointer_ = pointer;
    }

private:
    Interface* pointer_ = nullptr;
};
