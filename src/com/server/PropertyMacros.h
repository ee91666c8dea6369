#pragma once
// The members a wrapper gives a stored property of its component object: a get that
// converts the value out, a put that converts it in. Generated from the same property
// lists as the component's own accessors, so a property cannot be forgotten here.

#include "com/server/ComValue.h"

#define ORV_COM_GET(type, name)                                                             \
    HRESULT STDMETHODCALLTYPE get_##name(::orv::com::ComValue<type>::Com* value) override { \
        if (!value) return E_POINTER;                                                       \
        return this->Guarded(                                                               \
            [&] { *value = ::orv::com::ComValue<type>::Out(this->core().get_##name()); });  \
    }

#define ORV_COM_PUT(type, name)                                                            \
    HRESULT STDMETHODCALLTYPE put_##name(::orv::com::ComValue<type>::Com vData) override { \
        return this->Guarded(                                                              \
            [&] { this->core().put_##name(::orv::com::ComValue<type>::In(vData)); });      \
    }

#define ORV_COM_PROPERTY(type, name) ORV_COM_GET(type, name) ORV_COM_PUT(type, name)
