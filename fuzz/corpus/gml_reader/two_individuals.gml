directed 1
graph [
node [
id 101
template "north low 1900 1960"
label "101"
graphics [
w 30.000000
h 30.000000
fill "#ADD8E6"
line "#4682b4"
type "rectangle"
pattern "1"
stipple 1
lineWidth 2.000000
width 1.000000
]
]
node [
id 103
template "north high 1931 0"
label "103"
graphics [
w 30.000000
h 30.000000
fill "#FFE4E1"
line "#FFDAB9"
type "oval"
pattern "1"
stipple 1
lineWidth 2.000000
width 1.000000
]
]
edge [
source 101
target 103
graphics [
type "line"
arrow "none"
stipple 1
lineWidth 2.000000
fill "#000000"
]
]
]
