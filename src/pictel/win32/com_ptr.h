#pragma once

// Owns one COM interface pointer and releases it on every path out.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    // For functions that hand out a new reference.
    T** out() { return &p_; }

private:
    T* p_ = nullptr;
};
