# Writes a module's PiPL resource as resource-compiler source.
#
#   cmake -DDESCRIPTION=pipl/VelarraTheatre.cmake -DOUT=pipl.rc -P pipl_tool.cmake
#
# Byte layout (little-endian, as the host reads it on Windows):
#   u16 reserved (1), u32 list version (0), u32 property count,
#   then each property: u32 vendor '8BIM', u32 key, u32 id (0),
#   u32 data length, data padded with zeros to a multiple of 4.
# Four-character codes are 32-bit numbers ('8BIM' = 0x3842494D), so their
# bytes appear reversed ("MIB8"). Names are length-prefixed strings, the code
# entry a zero-terminated string; their length counts the padding. Versions
# are two 16-bit numbers, major first (2.0 is 02 00 00 00); the info flags
# are one 16-bit number whose length is 2. The rest are 32-bit numbers.
# The bytes are emitted as 16-bit words: the resource compiler reads bare
# numbers as 16-bit and adds no terminator or padding to anything, so the
# words are exactly these bytes.
cmake_minimum_required(VERSION 3.25)
get_filename_component(here "${CMAKE_CURRENT_LIST_FILE}" DIRECTORY)
include("${here}/pipl/common.cmake")
include("${DESCRIPTION}")

set(bytes "")
set(count 0)

function(hex2 value out)  # one byte 0..255 as two hex digits
  math(EXPR v "${value} & 255" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${v}" 2 -1 v)
  string(LENGTH "${v}" n)
  if(n EQUAL 1)
    set(v "0${v}")
  endif()
  set(${out} "${v}" PARENT_SCOPE)
endfunction()

function(le32 value out)
  set(r "")
  foreach(shift 0 8 16 24)
    math(EXPR b "(${value} >> ${shift}) & 255")
    hex2(${b} h)
    list(APPEND r ${h})
  endforeach()
  set(${out} "${r}" PARENT_SCOPE)
endfunction()

function(string_bytes text out)  # the characters of text, in order
  string(HEX "${text}" h)
  string(LENGTH "${h}" n)
  set(r "")
  set(i 0)
  while(i LESS n)
    string(SUBSTRING "${h}" ${i} 2 b)
    list(APPEND r ${b})
    math(EXPR i "${i} + 2")
  endwhile()
  set(${out} "${r}" PARENT_SCOPE)
endfunction()

function(fourcc code out)  # a four-character code as a little-endian u32
  string(LENGTH "${code}" n)
  if(NOT n EQUAL 4)
    message(FATAL_ERROR "PiPL: '${code}' is not a four-character code")
  endif()
  string_bytes("${code}" b)
  list(REVERSE b)
  set(${out} "${b}" PARENT_SCOPE)
endfunction()

function(pad4 list_var)
  set(l "${${list_var}}")
  list(LENGTH l n)
  math(EXPR m "${n} % 4")
  while(NOT m EQUAL 0)
    list(APPEND l 00)
    math(EXPR m "(${m} + 1) % 4")
  endwhile()
  set(${list_var} "${l}" PARENT_SCOPE)
endfunction()

# property(KEY data-bytes...): the length counts the padded data.
macro(property key)
  set(data "${ARGN}")
  pad4(data)
  list(LENGTH data len)
  add_property(${key} ${len})
endmacro()

# exact_property(KEY data-bytes...): the length counts the data alone.
macro(exact_property key)
  set(data "${ARGN}")
  list(LENGTH data len)
  pad4(data)
  add_property(${key} ${len})
endmacro()

macro(add_property key len)
  fourcc("8BIM" v)
  fourcc("${key}" k)
  le32(0 id)
  le32(${len} l)
  list(APPEND bytes ${v} ${k} ${id} ${l} ${data})
  math(EXPR count "${count} + 1")
endmacro()

function(pascal text out)
  string(LENGTH "${text}" n)
  if(n GREATER 255)
    message(FATAL_ERROR "PiPL: '${text}' is longer than 255 characters")
  endif()
  hex2(${n} len)
  string_bytes("${text}" b)
  set(${out} ${len} ${b} PARENT_SCOPE)
endfunction()

function(cstring text out)
  string_bytes("${text}" b)
  set(${out} ${b} 00 PARENT_SCOPE)
endfunction()

function(le16 value out)
  math(EXPR lo "${value} & 255")
  math(EXPR hi "(${value} >> 8) & 255")
  hex2(${lo} l)
  hex2(${hi} h)
  set(${out} ${l} ${h} PARENT_SCOPE)
endfunction()

function(version major minor out)
  le16(${major} a)
  le16(${minor} b)
  set(${out} ${a} ${b} PARENT_SCOPE)
endfunction()

fourcc("${PIPL_KIND}" d)
property(kind ${d})
pascal("${PIPL_NAME}" d)
property(name ${d})
pascal("${PIPL_CATEGORY}" d)
property(catg ${d})
cstring("${PIPL_ENTRY_POINT}" d)
property(8664 ${d})
version(${PIPL_VERSION_MAJOR} ${PIPL_VERSION_MINOR} d)
property(ePVR ${d})
version(${PIPL_SPEC_MAJOR} ${PIPL_SPEC_MINOR} d)
property(eSVR ${d})
le32(${PIPL_EFFECT_VERSION} d)
property(eVER ${d})
le16(${PIPL_INFO_FLAGS} d)
exact_property(eINF ${d})
le32(${PIPL_GLOBAL_OUTFLAGS} d)
property(eGLO ${d})
pascal("${PIPL_MATCH_NAME}" d)
property(eMNA ${d})
le32(${PIPL_RESERVED_INFO} d)
property(aeFL ${d})

# header: reserved word 1, list version 0, property count
set(head 01 00)
le32(0 v)
le32(${count} c)
set(all ${head} ${v} ${c} ${bytes})

list(LENGTH all n)
set(words "")
set(i 0)
while(i LESS n)
  list(GET all ${i} lo)
  math(EXPR j "${i} + 1")
  list(GET all ${j} hi)
  string(TOUPPER "0x${hi}${lo}" w)
  string(REPLACE "0X" "0x" w "${w}")
  list(APPEND words "${w}")
  math(EXPR i "${i} + 2")
endwhile()
list(LENGTH words nw)

set(text "// Generated from ${DESCRIPTION}; do not edit.\n// PiPL of \"${PIPL_NAME}\": ${n} bytes, ${count} properties.\n16000 PIPL\nBEGIN\n")
set(line "")
set(k 0)
foreach(w IN LISTS words)
  math(EXPR k "${k} + 1")
  if(k EQUAL nw)
    string(APPEND line " ${w}")
  else()
    string(APPEND line " ${w},")
  endif()
  math(EXPR col "${k} % 8")
  if(col EQUAL 0 OR k EQUAL nw)
    string(APPEND text " ${line}\n")
    set(line "")
  endif()
endforeach()
string(APPEND text "END\n")
file(WRITE "${OUT}.tmp" "${text}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
