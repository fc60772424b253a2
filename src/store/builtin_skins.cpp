#include "store/builtin_skins.h"

#include <cstddef>

extern const unsigned char embedded_skin1_l1[], embedded_skin1_l2[], embedded_skin1_l3[];
extern const unsigned char embedded_skin2_l1[], embedded_skin2_l2[], embedded_skin2_l3[];
extern const std::size_t embedded_skin1_l1_size, embedded_skin1_l2_size, embedded_skin1_l3_size;
extern const std::size_t embedded_skin2_l1_size, embedded_skin2_l2_size, embedded_skin2_l3_size;

std::string_view builtinSkinPng(int skin, int layer)
{
    struct Embedded {
        const unsigned char* data;
        const std::size_t* size;
    };
    static const Embedded pictures[2][3] = {
        {{embedded_skin1_l1, &embedded_skin1_l1_size},
         {embedded_skin1_l2, &embedded_skin1_l2_size},
         {embedded_skin1_l3, &embedded_skin1_l3_size}},
        {{embedded_skin2_l1, &embedded_skin2_l1_size},
         {embedded_skin2_l2, &embedded_skin2_l2_size},
         {embedded_skin2_l3, &embedded_skin2_l3_size}},
    };
    if (skin < 1 || skin > 2 || layer < 1 || layer > 3)
        return {};
    const Embedded& e = pictures[skin - 1][layer - 1];
    return {reinterpret_cast<const char*>(e.data), *e.size};
}
