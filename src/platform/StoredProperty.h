#pragma once
// A stored property inside a class body: a get returning the value, a put storing it
// unchanged, and the field `name_`. For the property lists (X-macros) that several classes
// share; access is private after it.
#define ORV_STORED_PROPERTY(type, name)  \
public:                                  \
    const type& get_##name() const {     \
        return name##_;                  \
    }                                    \
    void put_##name(const type& vData) { \
        name##_ = vData;                 \
    }                                    \
                                         \
private:                                 \
    type name##_{};
