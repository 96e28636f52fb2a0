directed 1
graph [
node [
id 101
template "nor960"
label "101"
graphics [
w 30.000000
h -0.000000
fill "#ADD8E6ˆˆˆˆˆˆˆˆˆone"
stipple 1
lineWidth 00000000000000000001585488558.000001
fill "#00000;0"
]
]
]
